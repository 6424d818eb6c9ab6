#include "platform/printing/detail/DeviceModeOptions.h"

#include "platform/printing/detail/PaperSizes.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>
#include <vector>

namespace platform::printing::detail {

namespace {

using Value = std::int16_t;
using Setting = std::pair<std::string, std::string>; // option name and value

constexpr std::string_view kPrivatePrefix = "tallyman-devmode-";

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

std::optional<long> ParseLong(std::string_view text)
{
    long v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end == text.data())
        return std::nullopt;
    return v;
}

std::optional<Value> ParseValue(std::string_view text, long low, long high)
{
    auto v = ParseLong(text);
    if (!v || *v < low || *v > high)
        return std::nullopt;
    return static_cast<Value>(*v);
}

const std::string* Find(const Options& options, std::string_view name)
{
    auto it = options.find(name);
    return it == options.end() ? nullptr : &it->second;
}

bool IsTrue(std::string_view v)
{
    return EqualNoCase(v, "true") || EqualNoCase(v, "yes") || EqualNoCase(v, "on") || v == "1";
}

// One device-mode field and the print server options that carry it. `names` are every option
// the field owns (the first ones win when reading); `encode` gives the option for a value, or
// nothing when the server has none; `decode` reads the value back from the options.
struct FieldCodec
{
    std::uint32_t bit;
    Value DeviceMode::*member;
    std::string_view privateName;
    std::vector<std::string_view> names;
    std::optional<Setting> (*encode)(Value);
    std::optional<Value> (*decode)(const Options&);
    Value (*fallback)(const PrinterDefaults&);
};

// --- copies: "copies", 1 to the server's usual maximum of 9999.
std::optional<Setting> EncodeCopies(Value v)
{
    if (v < 1 || v > 9999)
        return std::nullopt;
    return Setting{"copies", std::to_string(v)};
}
std::optional<Value> DecodeCopies(const Options& o)
{
    const std::string* v = Find(o, "copies");
    return v ? ParseValue(*v, 1, 32767) : std::nullopt;
}

// --- collate: the IPP "multiple-document-handling", or a PPD's "Collate".
constexpr std::string_view kCollated = "separate-documents-collated-copies";
constexpr std::string_view kUncollated = "separate-documents-uncollated-copies";
std::optional<Setting> EncodeCollate(Value v)
{
    if (v != 0 && v != 1)
        return std::nullopt;
    return Setting{"multiple-document-handling", std::string(v == 1 ? kCollated : kUncollated)};
}
std::optional<Value> DecodeCollate(const Options& o)
{
    if (const std::string* v = Find(o, "multiple-document-handling")) {
        if (EqualNoCase(*v, kUncollated))
            return Value{0};
        if (EqualNoCase(*v, kCollated) || EqualNoCase(*v, "single-document"))
            return Value{1};
    }
    if (const std::string* v = Find(o, "collate"))
        return Value{IsTrue(*v) ? Value{1} : Value{0}};
    return std::nullopt;
}

// --- colour: "print-color-mode", or a PPD's "ColorModel".
std::optional<Setting> EncodeColor(Value v)
{
    if (v != 1 && v != 2)
        return std::nullopt;
    return Setting{"print-color-mode", v == 1 ? "monochrome" : "color"};
}
std::optional<Value> DecodeColor(const Options& o)
{
    if (const std::string* v = Find(o, "print-color-mode")) {
        for (std::string_view mono :
             {"monochrome", "process-monochrome", "auto-monochrome", "bi-level"})
            if (EqualNoCase(*v, mono))
                return Value{1};
        return Value{2};
    }
    if (const std::string* v = Find(o, "ColorModel")) {
        for (std::string_view mono : {"Gray", "Grey", "Black", "Mono", "Monochrome", "KGray"})
            if (EqualNoCase(*v, mono))
                return Value{1};
        return Value{2};
    }
    return std::nullopt;
}

// --- orientation: "orientation-requested" 3 portrait, 4 landscape (5 and 6 are the reversed
// forms), or lp's "landscape".
std::optional<Setting> EncodeOrientation(Value v)
{
    if (v != 1 && v != 2)
        return std::nullopt;
    return Setting{"orientation-requested", v == 1 ? "3" : "4"};
}
std::optional<Value> DecodeOrientation(const Options& o)
{
    if (const std::string* v = Find(o, "orientation-requested")) {
        auto n = ParseLong(*v);
        if (n == 3 || n == 6)
            return Value{1};
        if (n == 4 || n == 5)
            return Value{2};
    }
    if (const std::string* v = Find(o, "landscape"))
        return Value{(v->empty() || IsTrue(*v)) ? Value{2} : Value{1}};
    return std::nullopt;
}

// --- paper bin: the IPP "media-source", or a PPD's "InputSlot". Printer-specific trays
// ("tray-1", ...) take the host's printer-specific codes 257 and up.
struct Bin
{
    Value code;
    std::string_view keyword; // written
    std::string_view ppdName; // a PPD's spelling, read only
};
constexpr std::array kBins{
    Bin{1, "top", "Upper"},
    Bin{2, "bottom", "Lower"},
    Bin{3, "middle", "Middle"},
    Bin{4, "manual", "Manual"},
    Bin{5, "envelope", "Envelope"},
    Bin{7, "auto", "Auto"},
    Bin{11, "large-capacity", "LargeCapacity"},
};
constexpr Value kUserBin = 256;
constexpr std::string_view kTray = "tray-";

std::optional<Setting> EncodeBin(Value v)
{
    for (const Bin& b : kBins)
        if (b.code == v)
            return Setting{"media-source", std::string(b.keyword)};
    if (v > kUserBin && v <= kUserBin + 20)
        return Setting{"media-source", std::string(kTray) + std::to_string(v - kUserBin)};
    return std::nullopt;
}
std::optional<Value> DecodeBinName(std::string_view v)
{
    for (const Bin& b : kBins)
        if (EqualNoCase(v, b.keyword) || EqualNoCase(v, b.ppdName))
            return b.code;
    if (EqualNoCase(v, "main"))
        return Value{1};
    if (EqualNoCase(v, "Default"))
        return Value{7};
    if (EqualNoCase(v.substr(0, kTray.size()), kTray))
        if (auto n = ParseValue(v.substr(kTray.size()), 1, 20))
            return static_cast<Value>(kUserBin + *n);
    return std::nullopt;
}
std::optional<Value> DecodeBin(const Options& o)
{
    for (std::string_view name : {"media-source", "InputSlot"})
        if (const std::string* v = Find(o, name))
            if (auto code = DecodeBinName(*v))
                return code;
    return std::nullopt;
}

// --- paper size: "media", or a PPD's "PageSize"; an unknown size is the host's
// printer-specific code 256.
std::optional<Setting> EncodePaperSize(Value v)
{
    if (auto media = MediaForPaperCode(v))
        return Setting{"media", *media};
    return std::nullopt;
}
std::optional<Value> DecodePaperSize(const Options& o)
{
    for (std::string_view name : {"media", "PageSize"})
        if (const std::string* v = Find(o, name))
            return PaperCodeForMedia(*v).value_or(kUserBin);
    return std::nullopt;
}

// --- print quality: "print-quality" 3 draft, 4 normal, 5 high; a positive value is a
// resolution ("printer-resolution", or a PPD's "Resolution"). The host's "low" (-2) has no
// print-quality of its own and prints as draft.
std::optional<Setting> EncodeQuality(Value v)
{
    switch (v) {
    case -1:
    case -2:
        return Setting{"print-quality", "3"};
    case -3:
        return Setting{"print-quality", "4"};
    case -4:
        return Setting{"print-quality", "5"};
    default:
        if (v > 0)
            return Setting{"printer-resolution", std::to_string(v) + "dpi"};
        return std::nullopt;
    }
}
std::optional<Value> DecodeQuality(const Options& o)
{
    if (const std::string* v = Find(o, "print-quality")) {
        auto n = ParseLong(*v);
        if (n == 3)
            return Value{-1};
        if (n == 4)
            return Value{-3};
        if (n == 5)
            return Value{-4};
    }
    for (std::string_view name : {"printer-resolution", "Resolution"})
        if (const std::string* v = Find(o, name)) // "600dpi", "600x600dpi"
            if (auto dpi = ParseValue(*v, 1, 32767))
                return dpi;
    return std::nullopt;
}

// --- scale: "scaling" in percent.
std::optional<Setting> EncodeScale(Value v)
{
    if (v < 1 || v > 800)
        return std::nullopt;
    return Setting{"scaling", std::to_string(v)};
}
std::optional<Value> DecodeScale(const Options& o)
{
    const std::string* v = Find(o, "scaling");
    return v ? ParseValue(*v, 1, 800) : std::nullopt;
}

// --- paper length and width: custom dimensions have no option of their own; they live in
// the private options.
std::optional<Setting> EncodeNothing(Value)
{
    return std::nullopt;
}
std::optional<Value> DecodeNothing(const Options&)
{
    return std::nullopt;
}

template <Value V> Value Constant(const PrinterDefaults&)
{
    return V;
}
Value DefaultPaper(const PrinterDefaults& d)
{
    return d.paperSize;
}

const std::array<FieldCodec, kFieldCount>& Codecs()
{
    static const std::array<FieldCodec, kFieldCount> codecs{
        FieldCodec{fields::Copies,
                   &DeviceMode::copies,
                   "tallyman-devmode-copies",
                   {"copies"},
                   EncodeCopies,
                   DecodeCopies,
                   Constant<1>},
        FieldCodec{fields::Collate,
                   &DeviceMode::collate,
                   "tallyman-devmode-collate",
                   {"multiple-document-handling", "collate"},
                   EncodeCollate,
                   DecodeCollate,
                   Constant<0>},
        FieldCodec{fields::Color,
                   &DeviceMode::color,
                   "tallyman-devmode-color",
                   {"print-color-mode", "ColorModel"},
                   EncodeColor,
                   DecodeColor,
                   Constant<2>},
        FieldCodec{fields::Orientation,
                   &DeviceMode::orientation,
                   "tallyman-devmode-orientation",
                   {"orientation-requested", "landscape"},
                   EncodeOrientation,
                   DecodeOrientation,
                   Constant<1>},
        FieldCodec{fields::DefaultSource,
                   &DeviceMode::defaultSource,
                   "tallyman-devmode-defaultsource",
                   {"media-source", "InputSlot"},
                   EncodeBin,
                   DecodeBin,
                   Constant<7>},
        FieldCodec{fields::PaperLength,
                   &DeviceMode::paperLength,
                   "tallyman-devmode-paperlength",
                   {},
                   EncodeNothing,
                   DecodeNothing,
                   Constant<0>},
        FieldCodec{fields::PaperSize,
                   &DeviceMode::paperSize,
                   "tallyman-devmode-papersize",
                   {"media", "PageSize"},
                   EncodePaperSize,
                   DecodePaperSize,
                   DefaultPaper},
        FieldCodec{fields::PaperWidth,
                   &DeviceMode::paperWidth,
                   "tallyman-devmode-paperwidth",
                   {},
                   EncodeNothing,
                   DecodeNothing,
                   Constant<0>},
        FieldCodec{fields::PrintQuality,
                   &DeviceMode::printQuality,
                   "tallyman-devmode-printquality",
                   {"print-quality", "printer-resolution", "Resolution"},
                   EncodeQuality,
                   DecodeQuality,
                   Constant<-3>},
        FieldCodec{fields::Scale,
                   &DeviceMode::scale,
                   "tallyman-devmode-scale",
                   {"scaling"},
                   EncodeScale,
                   DecodeScale,
                   Constant<100>},
    };
    return codecs;
}

// The server options of a field as they stand, to tell whether a private value still applies.
std::string Signature(const Options& o, const FieldCodec& c)
{
    std::string s;
    for (std::string_view name : c.names)
        if (const std::string* v = Find(o, name)) {
            s += s.empty() ? "" : ";";
            s.append(name).append("=").append(*v);
        }
    return s;
}

std::optional<Value> DecodePrivate(const Options& o, const FieldCodec& c)
{
    const std::string* v = Find(o, c.privateName);
    if (v == nullptr)
        return std::nullopt;
    auto colon = v->find(':');
    if (colon == std::string::npos || std::string_view(*v).substr(colon + 1) != Signature(o, c))
        return std::nullopt;
    return ParseValue(std::string_view(*v).substr(0, colon), INT16_MIN, INT16_MAX);
}

Value DecodeField(const Options& o, const FieldCodec& c, const PrinterDefaults& d)
{
    if (auto v = DecodePrivate(o, c))
        return *v;
    if (auto v = c.decode(o))
        return *v;
    return c.fallback(d);
}

void Erase(Options& o, const FieldCodec& c)
{
    for (std::string_view name : c.names)
        if (auto it = o.find(name); it != o.end())
            o.erase(it);
    if (auto it = o.find(c.privateName); it != o.end())
        o.erase(it);
}

void RestoreAsRead(Options& o, const FieldCodec& c, const StoredFields& asRead)
{
    Erase(o, c);
    for (std::string_view name : c.names)
        if (const std::string* v = Find(asRead.options, name))
            o.insert_or_assign(std::string(name), *v);
    if (const std::string* v = Find(asRead.options, c.privateName))
        o.insert_or_assign(std::string(c.privateName), *v);
}

void EncodeField(Options& o, const FieldCodec& c, Value v, const PrinterDefaults& d)
{
    if (auto setting = c.encode(v)) {
        Erase(o, c);
        o.insert_or_assign(setting->first, setting->second);
    } else if (auto it = o.find(c.privateName); it != o.end()) {
        o.erase(it);
    }
    if (DecodeField(o, c, d) != v)
        o.insert_or_assign(std::string(c.privateName), std::to_string(v) + ":" + Signature(o, c));
}

} // namespace

bool OptionNameLess::operator()(std::string_view a, std::string_view b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

DeviceMode DecodeDeviceMode(std::string deviceName, const Options& options,
                            const PrinterDefaults& defaults)
{
    DeviceMode dm;
    dm.deviceName = std::move(deviceName);
    dm.fields = fields::All;
    auto stored = std::make_shared<StoredFields>();
    const auto& codecs = Codecs();
    for (std::size_t i = 0; i < codecs.size(); ++i) {
        const FieldCodec& c = codecs[i];
        dm.*c.member = DecodeField(options, c, defaults);
        stored->values[i] = dm.*c.member;
        for (std::string_view name : c.names)
            if (const std::string* v = Find(options, name))
                stored->options.insert_or_assign(std::string(name), *v);
        if (const std::string* v = Find(options, c.privateName))
            stored->options.insert_or_assign(std::string(c.privateName), *v);
    }
    dm.asRead = std::move(stored);
    return dm;
}

void EncodeDeviceMode(const DeviceMode& deviceMode, Options& options,
                      const PrinterDefaults& defaults)
{
    const auto& codecs = Codecs();
    for (std::size_t i = 0; i < codecs.size(); ++i) {
        const FieldCodec& c = codecs[i];
        if ((deviceMode.fields & c.bit) == 0)
            continue;
        const Value v = deviceMode.*c.member;
        if (deviceMode.asRead && deviceMode.asRead->values[i] == v)
            RestoreAsRead(options, c, *deviceMode.asRead);
        else
            EncodeField(options, c, v, defaults);
    }
}

bool SameFields(const DeviceMode& a, const DeviceMode& b, std::uint32_t fieldMask)
{
    for (const FieldCodec& c : Codecs())
        if ((fieldMask & c.bit) != 0 && a.*c.member != b.*c.member)
            return false;
    return true;
}

bool IsPrivateOption(std::string_view name)
{
    return name.size() >= kPrivatePrefix.size() &&
           EqualNoCase(name.substr(0, kPrivatePrefix.size()), kPrivatePrefix);
}

} // namespace platform::printing::detail
