#pragma once

#include <memory>
#include <string>
#include <vector>

namespace platform::forms {
class Control;
}

namespace common {

/// A window that keeps its own texts: it answers the text for each control tag.
class IControlResource
{
public:
    virtual ~IControlResource() = default;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& sCaption) = 0;
    virtual const std::vector<std::shared_ptr<platform::forms::Control>>& Controls() const = 0;
    /// The window's text for a control tag; empty text leaves the caption unchanged.
    virtual std::string GetResource(const std::string& Tag) = 0;
    /// The window's own tag.
    virtual std::string Tag() const = 0;
};

} // namespace common
