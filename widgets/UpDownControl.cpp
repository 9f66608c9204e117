#include "UpDownControl.h"

#include <QLineEdit>

#include <algorithm>

namespace corvane::widgets {

UpDownControl::UpDownControl(QWidget *parent)
    : QAbstractSpinBox(parent)
{
    // Only the edit is read-only: QAbstractSpinBox::setReadOnly would stop the arrows as well.
    lineEdit()->setReadOnly(true);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setButtonSymbols(UpDownArrows);
    setAccelerated(false);
    showValue();
}

void UpDownControl::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    setValue(m_value);
}

void UpDownControl::setValue(int value)
{
    m_value = std::clamp(value, m_minimum, m_maximum);
    showValue();
}

void UpDownControl::stepBy(int steps)
{
    const long long wanted = static_cast<long long>(m_value) + steps;
    if (steps == 0 || wanted < m_minimum || wanted > m_maximum)
        return;
    const int next = static_cast<int>(wanted);
    if (m_filter && !m_filter(next))
        return;
    m_value = next;
    showValue();
    emit stepped(m_value);
}

QAbstractSpinBox::StepEnabled UpDownControl::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (m_value > m_minimum)
        enabled |= StepDownEnabled;
    if (m_value < m_maximum)
        enabled |= StepUpEnabled;
    return enabled;
}

void UpDownControl::showValue()
{
    lineEdit()->setText(QString::number(m_value));
    update();
}

} // namespace corvane::widgets
