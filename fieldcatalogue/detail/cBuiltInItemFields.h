#pragma once

#include "fieldcatalogue/detail/BuiltInFieldTable.h"
#include "fieldcatalogue/detail/FieldSource.h"

namespace fieldcatalogue::detail {

/// The field source of one built-in table. The folder is not read: the rows are fixed.
class cBuiltInItemFields : public FieldSource
{
public:
    explicit cBuiltInItemFields(ItemTable eTable) : m_eTable(eTable) {}
    cFields::FieldCollection
    GetFields(const std::shared_ptr<platform::mapi::Folder>& Folder) override;

private:
    ItemTable m_eTable;
};

/// The appointment fields (42).
class cAppointmentItemFields final : public cBuiltInItemFields
{
public:
    cAppointmentItemFields() : cBuiltInItemFields(ItemTable::Appointment) {}
};

/// The task fields (48).
class cTaskItemFields final : public cBuiltInItemFields
{
public:
    cTaskItemFields() : cBuiltInItemFields(ItemTable::Task) {}
};

/// The journal fields (30).
class cJournalItemFields final : public cBuiltInItemFields
{
public:
    cJournalItemFields() : cBuiltInItemFields(ItemTable::Journal) {}
};

/// The mail fields (37); no folder picks them, the catalogue answers nothing for mail.
class cMailItemFields final : public cBuiltInItemFields
{
public:
    cMailItemFields() : cBuiltInItemFields(ItemTable::Mail) {}
};

} // namespace fieldcatalogue::detail
