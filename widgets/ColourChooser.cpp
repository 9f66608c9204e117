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

} // namespace

template<>
ColourChooser *&ServiceOverride<ColourChooser>::slot()
{
    static QtColourChooser qtChooser;
    static ColourChooser *current = &qtChooser;
    return current;
}

ColourChooser &colourChooser()
{
    return ColourChooserOverride::current();
}

} // namespace corvane::widgets
