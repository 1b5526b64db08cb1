#pragma once

#include <QIcon>
#include <QString>

namespace res {

// The picture with this identifier, or a null icon for an unknown one.
QIcon Icon(int id);

// Its address inside the program, for rich text ("qrc:/...").
QString IconUrl(int id);

} // namespace res
