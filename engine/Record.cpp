#include "engine/Record.h"
#include "engine/Records.h"

#include "common/ErrorHandling.h"
#include "platform/runtime/Error.h"

namespace engine {

Records* Record::Parent() const
{
    return common::ChildLink<Records>::Parent();
}

void Record::AppendField(std::shared_ptr<Field> oField)
{
    common::Rethrowing("Record", "AppendField", [&] {
        const std::string sKey = oField->Key();
        if (!m_fields.Add(std::move(oField), sKey))
            throw platform::runtime::Error(platform::runtime::errors::DuplicateKey);
    });
}

} // namespace engine
