#pragma once

namespace views {
class ViewSettings;
}

namespace dialogs {

/// What a section dialog (columns, grouping, sorting, totals) needs of the dialog that opened
/// it: the view being edited there. The opener links itself to the section dialog through
/// `IChild.Init`; the section dialog turns that link back into this interface.
class ISectionOpener
{
public:
    virtual ~ISectionOpener() = default;
    /// The edited view; null when the opener holds none.
    virtual views::ViewSettings* Vs() = 0;
};

} // namespace dialogs
