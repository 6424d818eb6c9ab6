#pragma once

#include <QIcon>

#include <memory>
#include <string>

namespace platform::runtime {
class Object;
}

namespace gui {

/// The icon shown for a picture of an image list, by its key. The headless pictures carry no
/// pixels, so the view draws known keys with the desktop style's standard icons and any other
/// key as a tile with its first letter.
QIcon IconForKey(const std::string& key);

/// The icon of a picture object (a forms ListImage); a null icon for anything else.
QIcon IconOf(const platform::runtime::Object* picture);

} // namespace gui
