#include "ColorChooser.h"

#include <QColorDialog>

namespace corvane::widgets {

namespace {

    class QtColorChooser final : public ColorChooser
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
ColorChooser *&ServiceOverride<ColorChooser>::slot()
{
    static QtColorChooser qtChooser;
    static ColorChooser *current = &qtChooser;
    return current;
}

ColorChooser &colorChooser()
{
    return ColorChooserOverride::current();
}

} // namespace corvane::widgets
