#include "views/GridFields.h"

#include "platform/runtime/ResumeNext.h"
#include "views/ViewSettings.h"

namespace views {

namespace rt = platform::runtime;

GridFields::~GridFields()
{
    ResetChildren();
}

std::shared_ptr<GridField> GridFields::Item(const rt::Variant& Index) const
{
    std::shared_ptr<GridField> oResult;
    rt::ResumeNext oSteps;
    oSteps.Run([&] { oResult = m_colFields.Item(rt::CollectionIndex(Index)); });
    return oResult;
}

ViewSettings* GridFields::Parent() const
{
    return dynamic_cast<ViewSettings*>(m_pParent);
}

void GridFields::Remove(const rt::Variant& Index)
{
    const std::shared_ptr<GridField> oField = Item(Index);
    if (!oField)
        return;
    oField->ResetParentPtr();
    rt::ResumeNext oSteps;
    oSteps.Run([&] { m_colFields.Remove(rt::CollectionIndex(Index)); });
}

void GridFields::Add(const std::shared_ptr<GridField>& child)
{
    Insert(child, Count() + 1);
}

void GridFields::Insert(const std::shared_ptr<GridField>& child, std::int32_t Position)
{
    if (!child || m_colFields.Contains(child->Key()))
        return;
    child->AsIChild().Init(this, {});
    rt::ResumeNext oSteps;
    const bool bAdded = !oSteps
                             .Run([&] {
                                 if (Position < 2 && Count() > 0)
                                     m_colFields.AddBefore(child, 1, child->Key());
                                 else if (Position >= 2 && Position <= Count())
                                     m_colFields.AddBefore(child, Position, child->Key());
                                 else
                                     m_colFields.Add(child, child->Key());
                             })
                             .Failed();
    // A column the collection did not take keeps no link to it.
    if (!bAdded)
        child->ResetParentPtr();
}

void GridFields::Clear()
{
    if (Count() == 0)
        return;
    ResetChildren();
    m_colFields = Columns();
}

void GridFields::ResetChildren()
{
    for (const auto& oField : m_colFields)
        if (oField)
            oField->ResetParentPtr();
}

void GridFields::Init(rt::Object* lParentPtr, const std::string&)
{
    m_pParent = lParentPtr;
}

} // namespace views
