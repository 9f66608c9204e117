#pragma once

#include <QAbstractSpinBox>

#include <functional>

namespace corvane::widgets {

// A read-only number field with up and down arrows whose every step the owner may refuse before
// the value changes. A step asks the step filter about the value it would lead to; only if the
// value lies within the range and the filter agrees does the field change and `stepped` follow.
// The arrows, the arrow keys, Page Up/Down and the mouse wheel all step through the filter; the
// field cannot be typed into. setValue() is for the owner and asks no one.
//
// UI thread only.
class UpDownControl : public QAbstractSpinBox
{
    Q_OBJECT

public:
    // Decides whether a step to `newValue` may be taken; may change other state when it agrees.
    using StepFilter = std::function<bool(int newValue)>;

    explicit UpDownControl(QWidget *parent = nullptr);

    // The values the arrows reach; the value is moved into it.
    void setRange(int minimum, int maximum);
    int minimum() const noexcept { return m_minimum; }
    int maximum() const noexcept { return m_maximum; }

    int value() const noexcept { return m_value; }
    // Shows `value` (kept within the range) without asking the filter or signaling.
    void setValue(int value);

    void setStepFilter(StepFilter filter) { m_filter = std::move(filter); }

    // One step of `steps` (+1 up, -1 down); refused steps change nothing.
    void stepBy(int steps) override;

signals:
    // After an accepted step, with the new value.
    void stepped(int value);

protected:
    StepEnabled stepEnabled() const override;

private:
    void showValue();

    int m_minimum = 0;
    int m_maximum = 99;
    int m_value = 0;
    StepFilter m_filter;
};

} // namespace corvane::widgets
