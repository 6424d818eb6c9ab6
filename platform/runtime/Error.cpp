#include "platform/runtime/Error.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace platform::runtime {

namespace {

struct ErrorEntry
{
    std::int32_t number;
    std::string_view text;
};

// The runtime's own error texts, sorted by number.
constexpr std::array kErrorTexts{
    ErrorEntry{3, "Return without GoSub"},
    ErrorEntry{5, "Invalid procedure call or argument"},
    ErrorEntry{6, "Overflow"},
    ErrorEntry{7, "Out of memory"},
    ErrorEntry{9, "Subscript out of range"},
    ErrorEntry{10, "This array is fixed or temporarily locked"},
    ErrorEntry{11, "Division by zero"},
    ErrorEntry{13, "Type mismatch"},
    ErrorEntry{14, "Out of string space"},
    ErrorEntry{16, "Expression too complex"},
    ErrorEntry{17, "Can't perform requested operation"},
    ErrorEntry{18, "User interrupt occurred"},
    ErrorEntry{20, "Resume without error"},
    ErrorEntry{28, "Out of stack space"},
    ErrorEntry{35, "Sub or Function not defined"},
    ErrorEntry{48, "Error in loading DLL"},
    ErrorEntry{49, "Bad DLL calling convention"},
    ErrorEntry{51, "Internal error"},
    ErrorEntry{52, "Bad file name or number"},
    ErrorEntry{53, "File not found"},
    ErrorEntry{54, "Bad file mode"},
    ErrorEntry{55, "File already open"},
    ErrorEntry{57, "Device I/O error"},
    ErrorEntry{58, "File already exists"},
    ErrorEntry{59, "Bad record length"},
    ErrorEntry{61, "Disk full"},
    ErrorEntry{62, "Input past end of file"},
    ErrorEntry{63, "Bad record number"},
    ErrorEntry{67, "Too many files"},
    ErrorEntry{68, "Device unavailable"},
    ErrorEntry{70, "Permission denied"},
    ErrorEntry{71, "Disk not ready"},
    ErrorEntry{74, "Can't rename with different drive"},
    ErrorEntry{75, "Path/File access error"},
    ErrorEntry{76, "Path not found"},
    ErrorEntry{91, "Object variable or With block variable not set"},
    ErrorEntry{92, "For loop not initialized"},
    ErrorEntry{93, "Invalid pattern string"},
    ErrorEntry{94, "Invalid use of Null"},
    ErrorEntry{321, "Invalid file format"},
    ErrorEntry{322, "Can't create necessary temporary file"},
    ErrorEntry{335, "Could not access system registry"},
    ErrorEntry{336, "Component not correctly registered"},
    ErrorEntry{337, "Component not found"},
    ErrorEntry{360, "Object already loaded"},
    ErrorEntry{361, "Can't load or unload this object"},
    ErrorEntry{364, "Object was unloaded"},
    ErrorEntry{365, "Unable to unload within this context"},
    ErrorEntry{380, "Invalid property value"},
    ErrorEntry{381, "Invalid property-array index"},
    ErrorEntry{383, "Property Set can't be used with a read-only property"},
    ErrorEntry{387, "Property Set not permitted"},
    ErrorEntry{394, "Property Get can't be executed on write-only property"},
    ErrorEntry{400, "Form already displayed; can't show modally"},
    ErrorEntry{402, "Code must close topmost modal form first"},
    ErrorEntry{422, "Property not found"},
    ErrorEntry{423, "Property or method not found"},
    ErrorEntry{424, "Object required"},
    ErrorEntry{425, "Invalid object use"},
    ErrorEntry{429, "ActiveX component can't create object"},
    ErrorEntry{430, "Class does not support Automation or does not support expected interface"},
    ErrorEntry{438, "Object doesn't support this property or method"},
    ErrorEntry{440, "Automation error"},
    ErrorEntry{445, "Object doesn't support this action"},
    ErrorEntry{446, "Object doesn't support named arguments"},
    ErrorEntry{448, "Named argument not found"},
    ErrorEntry{449, "Argument not optional"},
    ErrorEntry{450, "Wrong number of arguments or invalid property assignment"},
    ErrorEntry{457, "This key is already associated with an element of this collection"},
    ErrorEntry{461, "Method or data member not found"},
    ErrorEntry{462, "The remote server machine does not exist or is unavailable"},
    ErrorEntry{463, "Class not registered on local machine"},
    ErrorEntry{481, "Invalid picture"},
    ErrorEntry{482, "Printer error"},
    ErrorEntry{483, "Printer driver does not support specified property"},
    ErrorEntry{484, "Problem getting printer information from the system. Make sure the printer "
                    "is set up correctly"},
    ErrorEntry{520, "Can't empty Clipboard"},
    ErrorEntry{521, "Can't open Clipboard"},
    ErrorEntry{735, "Can't save file to TEMP"},
    ErrorEntry{744, "Search text not found"},
};

static_assert(std::is_sorted(kErrorTexts.begin(), kErrorTexts.end(),
                             [](const ErrorEntry& a, const ErrorEntry& b) {
                                 return a.number < b.number;
                             }),
              "the error table is searched by halving and must stay sorted");

constexpr std::string_view kApplicationDefined = "Application-defined or object-defined error";

const ErrorEntry* Find(std::int32_t number)
{
    auto it = std::lower_bound(kErrorTexts.begin(), kErrorTexts.end(), number,
                               [](const ErrorEntry& e, std::int32_t n) { return e.number < n; });
    if (it == kErrorTexts.end() || it->number != number) {
        return nullptr;
    }
    return &*it;
}

} // namespace

std::string_view ErrorText(std::int32_t number)
{
    const ErrorEntry* entry = Find(number);
    return entry ? entry->text : kApplicationDefined;
}

bool HasErrorText(std::int32_t number)
{
    return Find(number) != nullptr;
}

Error::Error(std::int32_t number, std::string source, std::string description, std::string helpFile,
             std::int32_t helpContext)
    : number_(number), source_(std::move(source)), description_(std::move(description)),
      helpFile_(std::move(helpFile)), helpContext_(helpContext), lastDllError_(errno)
{
    if (description_.empty()) {
        description_ = std::string(ErrorText(number_));
    }
}

void Raise(std::int32_t number, std::string source, std::string description, std::string helpFile,
           std::int32_t helpContext)
{
    if (number == 0) {
        throw Error(errors::InvalidProcedureCall, std::move(source));
    }
    throw Error(number, std::move(source), std::move(description), std::move(helpFile),
                helpContext);
}

} // namespace platform::runtime
