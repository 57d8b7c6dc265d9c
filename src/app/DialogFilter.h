#pragma once

#include <QString>

namespace tikmeter::app {

// Converts a "|"-separated filter ("Rich Text Format files|*.RTF") into a Qt file dialog
// filter ("Rich Text Format files (*.RTF *.rtf)"). File names on Linux are case-sensitive,
// so every pattern is offered in upper and lower case as well. Patterns of one entry may
// be separated by ";". An unpaired last description has no pattern and is left out.
QString toQtFilter(const QString& filter);

} // namespace tikmeter::app
