// A BIFF8 workbook (the 97-2003 ".xls" format) written record by record into the "Workbook"
// stream of a compound file. Only what reports need: numbers, texts (shared string table),
// Booleans, dates as numbers with a date format, bold, column widths, header and footer.
#include "platform/excel/detail/HeaderFooter.h"
#include "platform/excel/detail/Raise.h"
#include "platform/excel/detail/Writers.h"

#include "platform/runtime/FileFailure.h"
#include "platform/win/FileIo.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <system_error>
#include <unordered_map>

namespace platform::excel::detail {
namespace {

constexpr long kBiffMaxRows = 65536;
constexpr long kBiffMaxColumns = 256;
constexpr std::size_t kMaxRecordData = 8224;

// Cell formats (XF indexes): 0-14 style formats, 15 the default cell format, then ours.
constexpr std::uint16_t kXfDefault = 15;
constexpr std::uint16_t kXfBold = 16;
constexpr std::uint16_t kXfDate = 17;     // + 1 for bold
constexpr std::uint16_t kXfDateTime = 19; // + 1 for bold
constexpr std::uint16_t kXfTime = 21;     // + 1 for bold

class Bytes
{
public:
    void U8(unsigned v) { data_ += static_cast<char>(v & 0xFF); }
    void U16(unsigned v)
    {
        U8(v);
        U8(v >> 8);
    }
    void U32(std::uint32_t v)
    {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void F64(double v)
    {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        U32(static_cast<std::uint32_t>(bits));
        U32(static_cast<std::uint32_t>(bits >> 32));
    }
    void Raw(const std::string& bytes) { data_ += bytes; }
    std::size_t Size() const { return data_.size(); }
    std::string& Data() { return data_; }

private:
    std::string data_;
};

std::u16string ToUtf16(std::string_view utf8)
{
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        char32_t cp = c;
        std::size_t n = 1;
        if (c >= 0xF0) {
            cp = c & 0x07, n = 4;
        } else if (c >= 0xE0) {
            cp = c & 0x0F, n = 3;
        } else if (c >= 0xC0) {
            cp = c & 0x1F, n = 2;
        } else if (c >= 0x80) {
            cp = 0xFFFD; // a stray continuation byte
        }
        std::size_t k = 1;
        for (; k < n && i + k < utf8.size(); ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) {
                break;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        if (k < n) {
            cp = 0xFFFD; // a cut sequence never takes the characters after it
        }
        i += k;
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

bool Compressible(const std::u16string& text)
{
    for (char16_t c : text) {
        if (c > 0xFF) {
            return false;
        }
    }
    return true;
}

void Chars(Bytes& out, const std::u16string& text, bool compressed)
{
    for (char16_t c : text) {
        compressed ? out.U8(c) : out.U16(c);
    }
}

// A string with an 8- or 16-bit length, option byte and characters (XLUnicodeString).
void UnicodeString(Bytes& out, const std::string& utf8, bool shortLength)
{
    const std::u16string text = ToUtf16(utf8);
    const bool compressed = Compressible(text);
    shortLength ? out.U8(static_cast<unsigned>(text.size()))
                : out.U16(static_cast<unsigned>(text.size()));
    out.U8(compressed ? 0 : 1);
    Chars(out, text, compressed);
}

void Record(Bytes& stream, std::uint16_t type, Bytes body)
{
    stream.U16(type);
    stream.U16(static_cast<unsigned>(body.Size()));
    stream.Raw(body.Data());
}

void Bof(Bytes& stream, std::uint16_t kind)
{
    Bytes b;
    b.U16(0x0600);
    b.U16(kind);
    b.U16(0x0DBB);
    b.U16(0x07CC);
    b.U32(0);
    b.U32(0x0006);
    Record(stream, 0x0809, std::move(b));
}

void Font(Bytes& stream, bool bold)
{
    Bytes b;
    b.U16(200); // 10 points
    b.U16(0);
    b.U16(0x7FFF);
    b.U16(bold ? 700 : 400);
    b.U16(0);
    b.U8(0);
    b.U8(0);
    b.U8(0);
    b.U8(0);
    UnicodeString(b, "Arial", true);
    Record(stream, 0x0031, std::move(b));
}

void Xf(Bytes& stream, std::uint16_t font, std::uint16_t format, bool style)
{
    Bytes b;
    b.U16(font);
    b.U16(format);
    b.U16(style ? 0xFFF5 : 0x0001); // locked; a style format has no parent
    b.U8(0x20);                     // bottom aligned
    b.U8(0);
    b.U8(0);
    b.U8(style ? 0 : 0xF8); // a cell format uses its own font, number format, ...
    b.U32(0);
    b.U32(0);
    b.U16(0x20C0); // default pattern colours
    Record(stream, 0x00E0, std::move(b));
}

std::uint16_t XfOf(const Cell& cell, const WorkbookDate& date, bool bold)
{
    if (cell.kind == Cell::Kind::Date) {
        switch (date.form) {
        case WorkbookDate::Form::Date:
            return static_cast<std::uint16_t>(kXfDate + (bold ? 1 : 0));
        case WorkbookDate::Form::DateTime:
            return static_cast<std::uint16_t>(kXfDateTime + (bold ? 1 : 0));
        case WorkbookDate::Form::Time:
            return static_cast<std::uint16_t>(kXfTime + (bold ? 1 : 0));
        case WorkbookDate::Form::Text:
            break;
        }
    }
    return bold ? kXfBold : kXfDefault;
}

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

// The shared string table: every text once, in order of first use.
class StringTable
{
public:
    std::uint32_t Index(std::string_view text)
    {
        ++total_;
        const auto [it, added] =
            index_.try_emplace(std::string(text), static_cast<std::uint32_t>(order_.size()));
        if (added) {
            order_.push_back(&it->first);
        }
        return it->second;
    }

    // SST with CONTINUE records and the EXTSST index, appended to `stream`.
    void Write(Bytes& stream) const
    {
        const std::size_t bucketSize = std::max<std::size_t>(8, (order_.size() + 127) / 128);
        std::vector<std::pair<std::uint32_t, std::uint16_t>> buckets;
        std::vector<std::string> records;
        Bytes current;
        current.U32(total_);
        current.U32(static_cast<std::uint32_t>(order_.size()));
        std::size_t recordStart = stream.Size(); // of the record being filled
        auto flush = [&] {
            records.push_back(current.Data());
            recordStart += 4 + current.Size();
            current = Bytes();
        };
        for (std::size_t i = 0; i < order_.size(); ++i) {
            const std::u16string text = ToUtf16(*order_[i]);
            const bool compressed = Compressible(text);
            const std::size_t charSize = compressed ? 1 : 2;
            // A string's length and option byte never split from its first character (two
            // units when that is a character beyond the basic plane).
            if (current.Size() + 3 + 2 * charSize > kMaxRecordData) {
                flush();
            }
            if (i % bucketSize == 0) {
                const std::size_t inRecord = 4 + current.Size();
                buckets.emplace_back(static_cast<std::uint32_t>(recordStart + inRecord),
                                     static_cast<std::uint16_t>(inRecord));
            }
            current.U16(static_cast<unsigned>(text.size()));
            current.U8(compressed ? 0 : 1);
            std::size_t done = 0;
            while (done < text.size()) {
                const std::size_t room = (kMaxRecordData - current.Size()) / charSize;
                std::size_t n = std::min(room, text.size() - done);
                // Both halves of a character beyond the basic plane stay in one record:
                // readers reject a pair split across a continuation.
                if (n > 0 && done + n < text.size() && IsHighSurrogate(text[done + n - 1])) {
                    --n;
                }
                if (n == 0) {
                    flush();
                    current.U8(compressed ? 0 : 1); // a continued string repeats its option
                    continue;
                }
                Chars(current, text.substr(done, n), compressed);
                done += n;
            }
        }
        flush();
        for (std::size_t r = 0; r < records.size(); ++r) {
            Bytes body;
            body.Raw(records[r]);
            Record(stream, r == 0 ? 0x00FC : 0x003C, std::move(body));
        }
        Bytes ext;
        ext.U16(static_cast<unsigned>(bucketSize));
        for (const auto& [position, offset] : buckets) {
            ext.U32(position);
            ext.U16(offset);
            ext.U16(0);
        }
        Record(stream, 0x00FF, std::move(ext));
    }

private:
    std::unordered_map<std::string, std::uint32_t> index_;
    std::vector<const std::string*> order_;
    std::uint32_t total_ = 0;
};

void CheckLimits(const Sheet& sheet)
{
    long lastColumn = sheet.LastColumn();
    if (!sheet.Columns().empty()) {
        lastColumn = std::max(lastColumn, sheet.Columns().rbegin()->first);
    }
    if (sheet.LastRow() > kBiffMaxRows || lastColumn > kBiffMaxColumns) {
        Raise(kMethodFailed,
              Say("the worksheet \"", "Das Arbeitsblatt \"") + sheet.Name() +
                  Say("\" does not fit the 97-2003 format (at most 65,536 rows and 256 columns); "
                      "nothing was saved",
                      "\" passt nicht in das Format 97-2003 (höchstens 65.536 Zeilen und 256 "
                      "Spalten); es wurde nichts gespeichert"));
    }
    for (const std::string& text :
         {ComposeHeaderFooter(sheet.header), ComposeHeaderFooter(sheet.footer)}) {
        if (ToUtf16(text).size() > kMaxHeaderFooterLength) {
            Raise(kMethodFailed, Say("a page header or footer is longer than 255 characters",
                                     "Eine Kopf- oder Fußzeile ist länger als 255 Zeichen"));
        }
    }
}

void HeaderFooterRecord(Bytes& stream, std::uint16_t type, const HeaderFooterParts& parts)
{
    const std::string text = ComposeHeaderFooter(parts);
    Bytes b;
    if (!text.empty()) {
        UnicodeString(b, text, false);
    }
    Record(stream, type, std::move(b));
}

void WriteCells(Bytes& stream, const Sheet& sheet, StringTable& strings)
{
    for (long row = 1; row <= sheet.LastRow(); ++row) {
        const auto& cells = sheet.Row(row);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const Cell& cell = cells[i];
            const long column = static_cast<long>(i) + 1;
            const bool bold = sheet.IsBold(row, column, cell);
            if (cell.kind == Cell::Kind::Empty && !bold) {
                continue;
            }
            const WorkbookDate date =
                cell.kind == Cell::Kind::Date ? ToWorkbookDate(cell.number) : WorkbookDate{};
            Bytes b;
            b.U16(static_cast<unsigned>(row - 1));
            b.U16(static_cast<unsigned>(column - 1));
            b.U16(XfOf(cell, date, bold));
            std::uint16_t type = 0x0201; // BLANK
            switch (cell.kind) {
            case Cell::Kind::Number:
                b.F64(cell.number);
                type = 0x0203; // NUMBER
                break;
            case Cell::Kind::Date:
                if (date.form == WorkbookDate::Form::Text) {
                    b.U32(strings.Index(DateText(cell.number)));
                    type = 0x00FD; // LABELSST
                } else {
                    b.F64(date.serial);
                    type = 0x0203; // NUMBER
                }
                break;
            case Cell::Kind::Text:
                b.U32(strings.Index(cell.text));
                type = 0x00FD; // LABELSST
                break;
            case Cell::Kind::Boolean:
                b.U8(cell.number != 0 ? 1 : 0);
                b.U8(0);
                type = 0x0205; // BOOLERR
                break;
            case Cell::Kind::Empty:
                break;
            }
            Record(stream, type, std::move(b));
        }
    }
}

std::string SheetStream(const Sheet& sheet, StringTable& strings)
{
    Bytes stream;
    Bof(stream, 0x0010);
    HeaderFooterRecord(stream, 0x0014, sheet.header);
    HeaderFooterRecord(stream, 0x0015, sheet.footer);
    for (const auto& [column, info] : sheet.Columns()) {
        Bytes b;
        b.U16(static_cast<unsigned>(column - 1));
        b.U16(static_cast<unsigned>(column - 1));
        b.U16(static_cast<unsigned>(std::lround(info.width.value_or(8.43) * 256)));
        b.U16(info.bold ? kXfBold : kXfDefault);
        b.U16(info.width ? 0x0002 : 0); // custom width
        b.U16(0);
        Record(stream, 0x007D, std::move(b));
    }
    Bytes dim;
    dim.U32(0);
    dim.U32(static_cast<std::uint32_t>(sheet.LastRow()));
    dim.U16(0);
    dim.U16(static_cast<unsigned>(sheet.LastColumn()));
    dim.U16(0);
    Record(stream, 0x0200, std::move(dim));
    WriteCells(stream, sheet, strings);
    Bytes window;
    window.U16(0x06B6);
    window.U16(0);
    window.U16(0);
    window.U32(64);
    window.U16(0);
    window.U16(0);
    window.U32(0);
    Record(stream, 0x023E, std::move(window));
    Record(stream, 0x000A, Bytes());
    return stream.Data();
}

std::string WorkbookStream(const SheetList& sheets)
{
    StringTable strings;
    std::vector<std::string> sheetStreams;
    for (const Sheet& sheet : sheets) {
        CheckLimits(sheet);
        sheetStreams.push_back(SheetStream(sheet, strings));
    }
    Bytes globals;
    Bof(globals, 0x0005);
    Bytes codepage;
    codepage.U16(1200); // UTF-16
    Record(globals, 0x0042, std::move(codepage));
    Bytes window1;
    for (unsigned v : {0u, 0u, 0x4000u, 0x2000u, 0x0038u, 0u, 0u, 1u, 0x0258u}) {
        window1.U16(v);
    }
    Record(globals, 0x003D, std::move(window1));
    Bytes datemode;
    datemode.U16(0); // day serials count from 1899-12-30
    Record(globals, 0x0022, std::move(datemode));
    for (int i = 0; i < 4; ++i) {
        Font(globals, false);
    }
    Font(globals, true); // index 5: index 4 does not exist in this format
    for (int i = 0; i < 15; ++i) {
        Xf(globals, 0, 0, true);
    }
    Xf(globals, 0, 0, false);
    Xf(globals, 5, 0, false);
    Xf(globals, 0, 14, false);
    Xf(globals, 5, 14, false);
    Xf(globals, 0, 22, false);
    Xf(globals, 5, 22, false);
    Xf(globals, 0, 21, false);
    Xf(globals, 5, 21, false);
    Bytes style;
    style.U16(0x8000); // built-in style "Normal" on format 0
    style.U8(0);
    style.U8(0xFF);
    Record(globals, 0x0293, std::move(style));
    std::vector<std::size_t> positions;
    for (const Sheet& sheet : sheets) {
        positions.push_back(globals.Size() + 4);
        Bytes b;
        b.U32(0); // patched below
        b.U16(0);
        UnicodeString(b, sheet.Name(), true);
        Record(globals, 0x0085, std::move(b));
    }
    strings.Write(globals);
    Record(globals, 0x000A, Bytes());
    std::size_t offset = globals.Size();
    std::string& data = globals.Data();
    for (std::size_t i = 0; i < sheetStreams.size(); ++i) {
        for (int k = 0; k < 4; ++k) {
            data[positions[i] + static_cast<std::size_t>(k)] =
                static_cast<char>((offset >> (8 * k)) & 0xFF);
        }
        offset += sheetStreams[i].size();
    }
    for (const std::string& s : sheetStreams) {
        data += s;
    }
    return data;
}

template <class T> struct Unref
{
    void operator()(T* object) const { g_object_unref(object); }
};

[[noreturn]] void Fail(const std::string& path, const std::string& reason)
{
    Raise(kMethodFailed, Say("cannot write the workbook \"", "Die Arbeitsmappe \"") + path +
                             Say("\": ", "\" kann nicht geschrieben werden: ") + reason);
}

// The compound file holding `stream` as its "Workbook" stream, built in memory.
std::string CompoundFile(const std::string& stream, const std::string& path)
{
    std::unique_ptr<GsfOutput, Unref<GsfOutput>> sink(gsf_output_memory_new());
    std::unique_ptr<GsfOutfile, Unref<GsfOutfile>> compound(gsf_outfile_msole_new(sink.get()));
    std::unique_ptr<GsfOutput, Unref<GsfOutput>> workbook(
        compound ? gsf_outfile_new_child(compound.get(), "Workbook", FALSE) : nullptr);
    if (!compound || !workbook) {
        Fail(path, Say("the compound file cannot be created",
                       "die Verbunddatei kann nicht angelegt werden"));
    }
    const bool written = gsf_output_write(workbook.get(), stream.size(),
                                          reinterpret_cast<const guint8*>(stream.data())) != FALSE;
    // Closing the compound file closes the memory it writes to as well.
    const bool closed = gsf_output_close(workbook.get()) != FALSE &&
                        gsf_output_close(GSF_OUTPUT(compound.get())) != FALSE;
    if (!written || !closed) {
        Fail(path, Say("the compound file cannot be built",
                       "die Verbunddatei kann nicht aufgebaut werden"));
    }
    const auto* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
    return std::string(reinterpret_cast<const char*>(bytes),
                       static_cast<std::size_t>(gsf_output_size(sink.get())));
}

} // namespace

void WriteXls(const SheetList& sheets, const std::string& path)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { gsf_init(); });
    std::string stream = WorkbookStream(sheets);
    // Readers expect the workbook in the compound file's regular sectors, which hold only
    // streams of 4096 bytes or more; the padding after the last EOF record is never read.
    if (stream.size() < 4096) {
        stream.resize(4096, '\0');
    }
    const std::string file = CompoundFile(stream, path);
    stream.clear();
    try {
        // Written through the platform's file writes, whose failures carry their cause.
        platform::win::replaceFileContents(path, file);
    } catch (const std::system_error& error) {
        Raise(kMethodFailed, platform::runtime::FileFailureText(
                                 error.code().value(), platform::runtime::FileAction::Write, path));
    }
}

} // namespace platform::excel::detail
