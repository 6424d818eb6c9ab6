#pragma once

#include "platform/forms/Control.h"
#include "platform/runtime/Object.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::forms {

/// A picture held by an image list. Headless: a picture is a keyed object with its size; the
/// pixels are design data the stand-in does not draw.
class ListImage : public runtime::Object
{
public:
    ListImage(std::string key, int width, int height)
        : m_key(std::move(key)), m_width(width), m_height(height)
    {
    }
    std::string TypeName() const override { return "ListImage"; }
    const std::string& Key() const { return m_key; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    std::string m_key;
    int m_width;
    int m_height;
};

/// A list of pictures of one size (16x16 pixels by default), keyed without regard to letter
/// case, as menu and tool bars take their icons from it.
class ImageList : public Control
{
public:
    explicit ImageList(std::string name, int imageWidth = 16, int imageHeight = 16);
    std::string TypeName() const override { return "ImageList"; }

    int ImageWidth() const { return m_imageWidth; }
    int ImageHeight() const { return m_imageHeight; }
    int Count() const { return static_cast<int>(m_images.size()); }
    /// Adds a picture under a key; error 35602 when the key is already in the list, error 5
    /// for an empty key.
    std::shared_ptr<ListImage> Add(const std::string& key);
    /// The picture of the key; error 35601 when the list has none.
    std::shared_ptr<ListImage> Item(const std::string& key) const;
    /// The picture at the 1-based index; error 35600 outside 1..Count.
    std::shared_ptr<ListImage> Item(int index) const;
    /// Whether the list holds a picture under the key.
    bool Exists(const std::string& key) const;

private:
    int m_imageWidth;
    int m_imageHeight;
    std::vector<std::shared_ptr<ListImage>> m_images;
};

} // namespace platform::forms
