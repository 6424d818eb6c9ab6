#pragma once

#include "common/IChild.h"
#include "platform/runtime/Object.h"
#include "views/ISerializeString.h"

#include <cstdint>
#include <string>

namespace actions {

class Action;

/// The open action of a view: which program opens the saved report file.
class ActionOpen : public platform::runtime::Object,
                   public common::ChildLink<Action>,
                   public views::ISerializeString
{
public:
    std::string TypeName() const override { return "ActionOpen"; }

    /// Stored, copied and serialised with the view.
    bool Active() const { return m_bActive; }
    void SetActive(bool bValue) { m_bActive = bValue; }
    /// Run after a read.
    bool AutoExecute() const { return m_bAutoExecute; }
    void SetAutoExecute(bool bValue) { m_bAutoExecute = bValue; }
    /// 0 text editor, 1 the file's program, 2 the spreadsheet program, 3 the file's program.
    std::int32_t Editor() const { return m_lEditor; }
    void SetEditor(std::int32_t lValue) { m_lEditor = lValue; }

    /// Opens the file the save action wrote last (nothing when none) with the chosen program,
    /// the path as one argument: 0 the text editor, 1 and 3 the desktop's program for the
    /// file, 2 the spreadsheet program (a workbook through the engine's OpenWorkbook). Raises
    /// error 53 when no program could be started, and any other error, to the caller.
    void Execute();

    /// The action as its parent link.
    common::IChild& AsIChild() { return *this; }
    /// Three fields: Active, AutoExecute, Editor.
    std::string ToString() const override;
    /// Reads the three fields; raises 9 for fewer.
    void ToObject(std::string& sData) override;

private:
    bool m_bActive = false;
    bool m_bAutoExecute = false;
    std::int32_t m_lEditor = 1;
};

} // namespace actions
