#include "ColourChooser.h"

#include <QColorDialog>

namespace corvane::widgets {

namespace {

    class QtColourChooser final : public ColourChooser
    {
    public:
        std::optional<QColor> choose(QWidget *parent, const QColor &initial) override
        {
            const QColor chosen = QColorDialog::getColor(initial, parent);
            if (!chosen.isValid())
                return std::nullopt;
            return chosen;
        }
    };

    ColourChooser *&current()
    {
        static QtColourChooser qtChooser;
        static ColourChooser *chooser = &qtChooser;
        return chooser;
    }

} // namespace

ColourChooser &colourChooser()
{
    return *current();
}

ColourChooserOverride::ColourChooserOverride(ColourChooser &chooser)
    : m_previous(current())
{
    current() = &chooser;
}

ColourChooserOverride::~ColourChooserOverride()
{
    current() = m_previous;
}

} // namespace corvane::widgets
