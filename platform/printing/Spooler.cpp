#include "platform/printing/Spooler.h"

#include "platform/locale/Locale.h"
#include "platform/printing/detail/DeviceModeOptions.h"
#include "platform/printing/detail/PaperSizes.h"
#include "platform/runtime/Error.h"

#include <cups/cups.h>

#include <strings.h>

#include <utility>

namespace platform::printing {

namespace {

namespace rt = platform::runtime;
using detail::Options;
using detail::PrinterDefaults;

constexpr const char* kSource = "Spooler";

struct HttpClose
{
    void operator()(http_t* http) const { httpClose(http); }
};
using Connection = std::unique_ptr<http_t, HttpClose>;

struct DestInfoFree
{
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};

// The destinations as the server and the user's options file describe them, freed on scope
// exit.
class Destinations
{
public:
    explicit Destinations(http_t* http)
    {
        if (http != nullptr)
            count_ = cupsGetDests2(http, &dests_);
    }
    ~Destinations() { cupsFreeDests(count_, dests_); }
    Destinations(const Destinations&) = delete;
    Destinations& operator=(const Destinations&) = delete;

    cups_dest_t* begin() const { return dests_; }
    cups_dest_t* end() const { return dests_ + count_; }
    int count() const { return count_; }

    // The printer itself, not one of its saved instances.
    cups_dest_t* Find(std::string_view name) const
    {
        return cupsGetDest(std::string(name).c_str(), nullptr, count_, dests_);
    }

private:
    int count_ = 0;
    cups_dest_t* dests_ = nullptr;
};

bool SameName(const char* a, std::string_view b)
{
    return a != nullptr && std::string_view(a).size() == b.size() &&
           strncasecmp(a, b.data(), b.size()) == 0;
}

Options ToOptions(const cups_dest_t& dest)
{
    Options options;
    for (int i = 0; i < dest.num_options; ++i)
        options.insert_or_assign(dest.options[i].name, dest.options[i].value);
    return options;
}

void ReplaceOptions(cups_dest_t& dest, const Options& options)
{
    cupsFreeOptions(dest.num_options, dest.options);
    dest.num_options = 0;
    dest.options = nullptr;
    for (const auto& [name, value] : options)
        dest.num_options =
            cupsAddOption(name.c_str(), value.c_str(), dest.num_options, &dest.options);
}

std::string Quoted(std::string_view name)
{
    return "\"" + std::string(name) + "\"";
}

[[noreturn]] void RaiseNotFound(std::string_view name)
{
    rt::Raise(errors::PrinterNotFound, kSource,
              "No printer named " + Quoted(name) + " is installed.");
}

} // namespace

struct Spooler::Impl
{
    Connection http;
    bool tried = false;

    http_t* Http()
    {
        if (!tried) {
            tried = true;
            http.reset(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(),
                                    1, 30000, nullptr));
        }
        return http.get();
    }

    PrinterDefaults Defaults(cups_dest_t& dest, const Options& options)
    {
        PrinterDefaults defaults;
        if (options.count("media") != 0 || options.count("PageSize") != 0)
            return defaults; // the stored paper decides; no need to ask the printer
        std::unique_ptr<cups_dinfo_t, DestInfoFree> info(cupsCopyDestInfo(Http(), &dest));
        if (!info)
            return defaults;
        // The printer's own default paper. cupsGetDestMediaDefault looks only at the
        // destination's stored options and takes US Letter without them, so that a document
        // rendered for an A4 printer came out on Letter and the queue scaled it up to A4.
        if (ipp_attribute_t* media = cupsFindDestDefault(Http(), &dest, info.get(), "media")) {
            if (const char* name = ippGetString(media, 0, nullptr)) {
                defaults.paperSize = detail::PaperCodeForMedia(name).value_or(256);
                return defaults;
            }
        }
        cups_size_t size{};
        if (cupsGetDestMediaDefault(Http(), &dest, info.get(), 0, &size) != 0)
            defaults.paperSize = detail::PaperCodeForMedia(size.media).value_or(256);
        return defaults;
    }

    // Submits a job with the printer's stored settings, the flagged fields of jobSettings
    // laid over them when given.
    int Submit(std::string_view printer, const std::string& path, std::string_view title,
               const DeviceMode* jobSettings)
    {
        Destinations dests(Http());
        cups_dest_t* dest = dests.Find(printer);
        if (dest == nullptr)
            RaiseNotFound(printer);
        Options options = ToOptions(*dest);
        if (jobSettings != nullptr)
            detail::EncodeDeviceMode(*jobSettings, options, Defaults(*dest, options));
        // The job carries the settings as the print commands do, except the values the
        // stand-in keeps for itself.
        int count = 0;
        cups_option_t* jobOptions = nullptr;
        for (const auto& [name, value] : options)
            if (!detail::IsPrivateOption(name))
                count = cupsAddOption(name.c_str(), value.c_str(), count, &jobOptions);
        const int job = cupsPrintFile2(Http(), dest->name, path.c_str(), std::string(title).c_str(),
                                       count, jobOptions);
        cupsFreeOptions(count, jobOptions);
        // Told by the job's title, the document's name as the queue shows it: the file may
        // be a temporary copy or rendering of it.
        if (job == 0)
            rt::Raise(errors::JobNotAccepted, kSource,
                      platform::locale::Current().languageCode == "de"
                          ? "Der Drucker " + Quoted(printer) + " hat " + Quoted(title) +
                                " nicht angenommen: " + cupsLastErrorString()
                          : "Printer " + Quoted(printer) + " did not take " + Quoted(title) + ": " +
                                cupsLastErrorString());
        return job;
    }

    void Store(Destinations& dests, std::string_view what)
    {
        if (cupsSetDests2(Http(), dests.count(), dests.begin()) != 0)
            rt::Raise(errors::SettingsNotStored, kSource,
                      "The " + std::string(what) +
                          " could not be stored: " + cupsLastErrorString());
    }
};

Spooler::Spooler() : impl_(std::make_unique<Impl>()) {}

Spooler::~Spooler() = default;

std::vector<std::string> Spooler::PrinterNames()
{
    std::vector<std::string> names;
    Destinations dests(impl_->Http());
    for (const cups_dest_t& dest : dests)
        if (dest.instance == nullptr)
            names.emplace_back(dest.name);
    return names;
}

std::string Spooler::DefaultPrinterName()
{
    Destinations dests(impl_->Http());
    for (const cups_dest_t& dest : dests)
        if (dest.is_default)
            return dest.name;
    return {};
}

bool Spooler::SetDefaultPrinter(std::string_view name)
{
    {
        Destinations dests(impl_->Http());
        if (dests.Find(name) == nullptr)
            return false;
        for (cups_dest_t& dest : dests)
            dest.is_default = dest.instance == nullptr && SameName(dest.name, name);
        if (cupsSetDests2(impl_->Http(), dests.count(), dests.begin()) != 0)
            return false;
    }
    return SameName(DefaultPrinterName().c_str(), name);
}

std::optional<DeviceMode> Spooler::ReadDeviceMode(std::string_view name)
{
    Destinations dests(impl_->Http());
    cups_dest_t* dest = dests.Find(name);
    if (dest == nullptr)
        return std::nullopt;
    Options options = ToOptions(*dest);
    return detail::DecodeDeviceMode(dest->name, options, impl_->Defaults(*dest, options));
}

void Spooler::WriteDeviceMode(std::string_view name, const DeviceMode& deviceMode)
{
    Destinations dests(impl_->Http());
    cups_dest_t* dest = dests.Find(name);
    if (dest == nullptr)
        RaiseNotFound(name);
    const std::string queue = dest->name;
    Options options = ToOptions(*dest);
    const PrinterDefaults defaults = impl_->Defaults(*dest, options);
    detail::EncodeDeviceMode(deviceMode, options, defaults);
    ReplaceOptions(*dest, options);
    // Storing the options stores the default printer as well: the one the user sees now, so
    // that it stays (the server's default when the user has chosen none). Leaving it out
    // would not do: a saved queue without the default mark is read back as not the default.
    const std::string what = "settings of printer " + Quoted(name);
    impl_->Store(dests, what);

    // The server's library does not tell every failed write; what reads back is what counts.
    const DeviceMode intended = detail::DecodeDeviceMode(queue, options, defaults);
    Destinations after(impl_->Http());
    const cups_dest_t* stored = after.Find(name);
    const DeviceMode back =
        detail::DecodeDeviceMode(queue, stored ? ToOptions(*stored) : Options{}, defaults);
    if (!detail::SameFields(intended, back, deviceMode.fields))
        rt::Raise(errors::SettingsNotStored, kSource,
                  "The " + what + " were not stored completely.");
}

int Spooler::PrintFile(std::string_view printer, const std::string& path, std::string_view title)
{
    return impl_->Submit(printer, path, title, nullptr);
}

int Spooler::PrintFile(std::string_view printer, const std::string& path, std::string_view title,
                       const DeviceMode& jobSettings)
{
    return impl_->Submit(printer, path, title, &jobSettings);
}

DeviceMode LaidOver(DeviceMode stored, const DeviceMode& job)
{
    if (job.fields & fields::Orientation)
        stored.orientation = job.orientation;
    if (job.fields & fields::PaperSize)
        stored.paperSize = job.paperSize;
    if (job.fields & fields::PaperLength)
        stored.paperLength = job.paperLength;
    if (job.fields & fields::PaperWidth)
        stored.paperWidth = job.paperWidth;
    if (job.fields & fields::Scale)
        stored.scale = job.scale;
    return stored;
}

} // namespace platform::printing
