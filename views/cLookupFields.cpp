#include "views/cLookupFields.h"

#include "platform/runtime/ResumeNext.h"

namespace views {

namespace rt = platform::runtime;

void cLookupFields::Add(const std::shared_ptr<fieldcatalogue::cField>& Field, std::int32_t Position)
{
    const std::string sKey = Field ? Field->Key() : std::string();
    rt::ResumeNext oSteps;
    oSteps([&] {
        if (Position <= -1)
            m_colFields.Add(Field, sKey);
        else if (Position <= 1 && Count() > 0)
            m_colFields.AddBefore(Field, 1, sKey);
        else if (Position <= 1)
            m_colFields.Add(Field, sKey);
        else
            m_colFields.AddAfter(Field, Position - 1, sKey);
    });
}

std::shared_ptr<fieldcatalogue::cField> cLookupFields::Item(const rt::Variant& Index) const
{
    std::shared_ptr<fieldcatalogue::cField> oField;
    rt::ResumeNext oSteps;
    oSteps([&] { oField = m_colFields.Item(rt::CollectionIndex(Index)); });
    return oField;
}

} // namespace views
