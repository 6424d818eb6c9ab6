#pragma once

#include <functional>
#include <string>

namespace platform::runtime {

/// What was done on the user's behalf without a window of its own to show it: a report saved,
/// mailed, printed or deleted by an automatic action, and how far a read has come. The program
/// that hosts the add-in may listen and tell the user; nobody listens by default.
struct Notice
{
    enum class Kind
    {
        Saved,        ///< `subject` the file written
        Mailed,       ///< `subject` the mail's subject, `detail` its recipients ("; " between them)
        Printed,      ///< `subject` the document's title, `detail` the print queue
        Deleted,      ///< `subject` the file removed
        Progress,     ///< `value` of `max` items of a read over all its folders
        ReadEnded,    ///< the read is over (its progress is no longer shown)
        NotWritten,   ///< `subject` a settings file a save could not write, `detail` why (also
                      ///< where the saving code ignores the failure, as a window's save at
                      ///< closing does)
        NotDone,      ///< a save, mail or print the user asked for (by a command or as an
                      ///< automatic action) failed: `subject` what (the file or the mail's
                      ///< subject, may be empty), `detail` why
        NotRead,      ///< `subject` a settings file a load could not read whole, `detail` why
        FolderUnread, ///< a read went on without a folder it could not read: `subject` the
                      ///< folder's name (empty when it did not open), `detail` why, `value`
                      ///< the error's number, `max` how many of its records the read keeps
                      ///< (those read before the failure), `entryId` and `storeId` the folder
    };
    Kind kind;
    std::string subject;
    std::string detail;
    long value = 0;
    long max = 0;
    std::string entryId{};
    std::string storeId{};
};

/// Who hears the notices from now on (empty: nobody); one listener for the process.
void SetNoticeListener(std::function<void(const Notice&)> listener);
/// Tells the listener, when there is one.
void Notify(const Notice& notice);

} // namespace platform::runtime
