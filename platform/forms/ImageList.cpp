#include "platform/forms/ImageList.h"

#include "platform/forms/detail/KeyCompare.h"
#include "platform/runtime/Error.h"

namespace platform::forms {

ImageList::ImageList(std::string name, int imageWidth, int imageHeight)
    : Control(std::move(name)), m_imageWidth(imageWidth), m_imageHeight(imageHeight)
{
    SetVisible(false);
}

std::shared_ptr<ListImage> ImageList::Add(const std::string& key)
{
    if (key.empty())
        throw runtime::Error(5, "ImageList", "An image needs a key.");
    if (Exists(key))
        throw runtime::Error(35602, "ImageList", "Key is not unique in collection");
    auto image = std::make_shared<ListImage>(key, m_imageWidth, m_imageHeight);
    m_images.push_back(image);
    return image;
}

bool ImageList::Exists(const std::string& key) const
{
    for (const auto& image : m_images)
        if (detail::SameKey(image->Key(), key))
            return true;
    return false;
}

std::shared_ptr<ListImage> ImageList::Item(const std::string& key) const
{
    for (const auto& image : m_images)
        if (detail::SameKey(image->Key(), key))
            return image;
    throw runtime::Error(35601, "ImageList", "Element not found");
}

std::shared_ptr<ListImage> ImageList::Item(int index) const
{
    if (index < 1 || index > Count())
        throw runtime::Error(35600, "ImageList", "Index out of bounds");
    return m_images[static_cast<std::size_t>(index - 1)];
}

} // namespace platform::forms
