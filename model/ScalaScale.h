#pragma once

#include "TemperamentCatalog.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace corvane {

// A scale in the Scala format (".scl"), the common text form of historical and just tunings:
// '!' lines are comments; the first other line is the description, the next the number of
// notes, then one pitch per line above the 1/1 that is implied, as cents when it has a '.'
// ("701.955"), else as a ratio ("3/2", "2"); anything after the value on its line is a comment.
// The last pitch is the interval the scale repeats at, most often the octave.
//
// Plain value; parsing allocates.
struct ScalaScale
{
    std::string description;
    std::vector<double> cents; // each note above 1/1, the repeating interval last

    // The scale, or the reason it is not one ("line 7: "5/0" is not a pitch").
    static std::variant<ScalaScale, std::string> parse(std::string_view text);

    // As twelve degree offsets from equal temperament, degree 0 (the tonic, 1/1) at 0: what the
    // wheels and the drones use. Only a scale of twelve notes to the octave maps onto the twelve
    // wheels, and only offsets within +/-50 cents keep each degree nearer its own note than its
    // neighbour's; otherwise the reason, in words for the user.
    std::variant<DegreeCents, std::string> degreeOffsets() const;
};

} // namespace corvane
