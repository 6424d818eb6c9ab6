#include "engine/Records.h"

#include "common/ErrorHandling.h"
#include "platform/runtime/ResumeNext.h"

namespace rt = platform::runtime;

namespace engine {

Records::~Records()
{
    // Records handed out may outlive the set; they must not point back into it.
    rt::ResumeNext()([&] { ResetChildren(); });
}

void Records::ClearFields()
{
    m_fields.Clear();
}

void Records::AppendField(std::shared_ptr<Field> oField)
{
    rt::ResumeNext()([&] {
        if (!oField)
            return;
        const std::string sKey = oField->Key();
        m_fields.Add(std::move(oField), sKey);
    });
}

void Records::Remove(const platform::runtime::Variant& vIndex)
{
    rt::ResumeNext()([&] {
        const long lPos = m_records.Find(vIndex);
        if (lPos == 0)
            return;
        m_records.Item(lPos)->ResetParentPtr();
        m_records.Remove(lPos);
    });
}

void Records::Init(platform::runtime::Object* lParentPtr, const std::string& /*sKey*/)
{
    rt::ResumeNext ignore;
    ignore([&] { common::ChildLink<Application>::Init(lParentPtr, {}); });
    ignore([&] { m_records.Clear(); });
    ignore([&] {
        m_oFilter = std::make_shared<engine::Filter>();
        m_oFilter->ToIChild().Init(this, {});
    });
    ignore([&] { ClearFields(); });
}

void Records::Append(std::shared_ptr<Record> oRecord)
{
    common::Rethrowing("Records", "Append", [&](int& nLine) {
        nLine = 2;
        oRecord->LinkCounter(this, m_lCounter);
        nLine = 3;
        m_records.Add(std::move(oRecord), m_lCounter);
        nLine = 4;
        ++m_lCounter;
    });
}

void Records::ReserveMore(long n)
{
    if (n > 0)
        m_records.Reserve(static_cast<std::size_t>(m_records.Count() + n));
}

void Records::ApplyFilter(std::shared_ptr<engine::Filter> oFilter)
{
    common::Rethrowing("Records", "ApplyFilter", [&] {
        m_oFilter = std::move(oFilter);
        if (m_oFilter)
            m_oFilter->ToIChild().Init(this, {});
    });
}

void Records::ResetRecords()
{
    if (m_records.Count() == 0)
        return;
    ResetChildren();
    m_records.Clear();
}

void Records::ResetChildren()
{
    for (const auto& oRecord : m_records)
        rt::ResumeNext()([&] { oRecord->ResetParentPtr(); });
}

} // namespace engine
