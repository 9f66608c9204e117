#include "DecimationFilter.h"
#include "GraphTestKit.h"

#include <stdexcept>

using namespace corvane;
using namespace corvane::test;

TEST(DecimationFilter, RefusesFormatsItCannotHalveInOrder)
{
    DecimationFilter d;
    expectThrows<std::length_error>([&] { d.configure({ 0, 0.0 }); }, "invalid buffer length");
    expectThrows<std::domain_error>([&] { d.configure({ 1023, 0.0 }); }, "invalid sample rate");
    expectThrows<std::domain_error>([&] { d.configure({ 1023, 11025.0 }); }, "odd buffer length");
    d.configure({ 1024, 11025.0 });
    EXPECT_EQ(d.outputPin(2)->media()->format.length, 512);
    EXPECT_EQ(d.outputPin(2)->media()->format.sampleRate, 5512.5);
}

TEST(DecimationFilter, KeepsTheEvenSamplesOfEveryBlock)
{
    Feeder source({ 6, 600.0 });
    DecimationFilter d;
    Recorder out;
    source.out.connect(d.inputPin(1));
    d.outputPin(2)->connect(&out.in);
    EXPECT_EQ(out.configured.length, 3);

    const float first[] = { 0, 1, 2, 3, 4, 5 }, second[] = { 6, 7, 8, 9, 10, 11 };
    source.push(first);
    source.push(second);
    EXPECT_EQ(out.samples, (std::vector<float> { 0, 2, 4, 6, 8, 10 }));
    EXPECT_EQ(d.outputPin(2)->media()->position, 6);
}
