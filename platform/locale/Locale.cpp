#include "platform/locale/Locale.h"

#include "platform/locale/detail/IcuSettings.h"
#include "platform/runtime/Error.h"

#include <atomic>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

namespace platform::locale {

namespace {

struct Registry
{
    std::mutex mutex;
    // Settings once computed are never dropped, so references to them stay valid.
    std::map<std::string, std::unique_ptr<const Settings>, std::less<>> byName;
    // Every name asked for ("de_DE.UTF-8", "de") to its settings in byName.
    std::map<std::string, const Settings*, std::less<>> byAlias;
    std::atomic<const Settings*> current{nullptr};
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

const Settings& Load(std::string_view name)
{
    Registry& registry = TheRegistry();
    {
        // Names asked before skip ICU's lookup, which walks every available locale.
        std::lock_guard lock(registry.mutex);
        if (auto known = registry.byAlias.find(name); known != registry.byAlias.end()) {
            return *known->second;
        }
    }
    const std::string canonical = detail::CanonicalName(name);
    if (canonical.empty()) {
        runtime::Raise(runtime::errors::InvalidProcedureCall, "platform::locale",
                       "Unknown locale: " + std::string(name));
    }
    std::lock_guard lock(registry.mutex);
    auto it = registry.byName.find(canonical);
    if (it == registry.byName.end()) {
        it = registry.byName
                 .emplace(canonical,
                          std::make_unique<const Settings>(detail::ReadSettings(canonical)))
                 .first;
    }
    registry.byAlias.emplace(std::string(name), it->second.get());
    return *it->second;
}

const char* NonEmptyEnv(const char* variable)
{
    const char* value = std::getenv(variable);
    return value && *value ? value : nullptr;
}

} // namespace

std::string LocaleNameFromEnvironment()
{
    const char* value = NonEmptyEnv("LC_ALL");
    if (!value) {
        value = NonEmptyEnv("LC_MESSAGES");
    }
    if (!value) {
        value = NonEmptyEnv("LANG");
    }
    const std::string canonical = value ? detail::CanonicalName(value) : std::string();
    return canonical.empty() ? std::string("en-US") : canonical;
}

const Settings& Get(std::string_view name)
{
    return Load(name);
}

const Settings& Current()
{
    Registry& registry = TheRegistry();
    const Settings* current = registry.current.load();
    if (!current) {
        current = &Load(LocaleNameFromEnvironment());
        const Settings* expected = nullptr;
        // A concurrent SetCurrent wins over the environment.
        if (!registry.current.compare_exchange_strong(expected, current)) {
            current = expected;
        }
    }
    return *current;
}

void SetCurrent(std::string_view name)
{
    TheRegistry().current.store(&Load(name));
}

void ResetFromEnvironment()
{
    TheRegistry().current.store(&Load(LocaleNameFromEnvironment()));
}

std::string CurrentName()
{
    return Current().name;
}
std::string DecimalSeparator()
{
    return Current().decimalSeparator;
}
std::string GroupingSeparator()
{
    return Current().groupingSeparator;
}
std::string ShortDatePattern()
{
    return Current().shortDatePattern;
}
std::string LongDatePattern()
{
    return Current().longDatePattern;
}
std::string ShortTimePattern()
{
    return Current().shortTimePattern;
}
std::string LongTimePattern()
{
    return Current().longTimePattern;
}

std::string MonthName(int month, bool abbreviated)
{
    if (month < 1 || month > 12) {
        runtime::Raise(runtime::errors::InvalidProcedureCall);
    }
    const Settings& s = Current();
    return abbreviated ? s.monthAbbreviations[month - 1] : s.monthNames[month - 1];
}

std::string DayName(int sundayBasedDay, bool abbreviated)
{
    if (sundayBasedDay < 1 || sundayBasedDay > 7) {
        runtime::Raise(runtime::errors::InvalidProcedureCall);
    }
    const Settings& s = Current();
    return abbreviated ? s.dayAbbreviations[sundayBasedDay - 1] : s.dayNames[sundayBasedDay - 1];
}

int FirstDayOfWeek()
{
    return Current().firstDayOfWeek;
}
int FirstWeekOfYear()
{
    return Current().firstWeekOfYear;
}
std::string LanguageName()
{
    return Current().languageName;
}
std::string CountryName()
{
    return Current().countryName;
}

} // namespace platform::locale
