#pragma once

#include "common/IChild.h"
#include "platform/runtime/Object.h"
#include "views/ISerializeString.h"

#include <string>

namespace actions {

class Action;

/// The delete action of a view: removes the saved report file after the other actions.
class ActionDelete : public platform::runtime::Object,
                     public common::ChildLink<Action>,
                     public views::ISerializeString
{
public:
    std::string TypeName() const override { return "ActionDelete"; }

    /// Run last after a read, without a question.
    bool AutoExecute() const { return m_bAutoExecute; }
    void SetAutoExecute(bool bValue) { m_bAutoExecute = bValue; }

    /// Deletes the file the save action wrote last (nothing when none) and clears the save
    /// action's SavedAs. With ShowDialog the user is asked first (Yes/No); any answer but Yes
    /// changes nothing. A file that cannot be deleted raises its error and SavedAs stays.
    void Execute(bool ShowDialog);

    /// The action as its parent link.
    common::IChild& AsIChild() { return *this; }
    /// One field: AutoExecute.
    std::string ToString() const override;
    /// Reads the field; raises 9 for an empty string.
    void ToObject(std::string& sData) override;

private:
    bool m_bAutoExecute = false;
};

} // namespace actions
