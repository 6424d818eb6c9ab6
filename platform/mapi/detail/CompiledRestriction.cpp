#include "platform/mapi/detail/CompiledRestriction.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Restriction.h"
#include "platform/mapi/detail/ValueConversion.h"
#include "platform/runtime/Error.h"

#include <unicode/unistr.h>

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace platform::mapi::detail {

namespace {

using store::PropValue;

CompiledRestriction::Node Compile(const Restriction& r)
{
    CompiledRestriction::Node node;
    node.kind = r.Kind();
    switch (node.kind) {
    case RES_AND:
    case RES_OR:
        for (long i = 1; i <= r.Count(); ++i)
            node.children.push_back(Compile(*r.Item(i)));
        break;
    case RES_NOT:
        if (auto child = r.Child())
            node.children.push_back(Compile(*child));
        break;
    case RES_EXIST:
        node.tag = store::NormalizeTag(static_cast<store::PropTag>(r.ulPropTag()));
        break;
    case RES_PROPERTY:
        node.tag = store::NormalizeTag(static_cast<store::PropTag>(r.ulPropTag()));
        node.relop = r.relop();
        node.value = ToPropValue(r.lpProp());
        if (!node.value)
            runtime::Raise(runtime::errors::InvalidProcedureCall, "Restriction",
                           "A property restriction needs a value to compare with.");
        break;
    case RES_CONTENT: {
        node.tag = store::NormalizeTag(static_cast<store::PropTag>(r.ulPropTag()));
        node.fuzzy = r.ulFuzzyLevel();
        auto value = ToPropValue(r.lpProp());
        const auto* text = value ? std::get_if<std::string>(&*value) : nullptr;
        if (!text)
            runtime::Raise(runtime::errors::InvalidProcedureCall, "Restriction",
                           "A content restriction needs a text to search for.");
        node.text = (node.fuzzy & FL_IGNORECASE) ? FoldCase(*text) : *text;
        break;
    }
    default:
        break;
    }
    return node;
}

bool Evaluate(const CompiledRestriction::Node& node, const CompiledRestriction::Reader& read)
{
    switch (node.kind) {
    case RES_AND:
        return std::all_of(node.children.begin(), node.children.end(),
                           [&](const auto& c) { return Evaluate(c, read); });
    case RES_OR:
        return std::any_of(node.children.begin(), node.children.end(),
                           [&](const auto& c) { return Evaluate(c, read); });
    case RES_NOT:
        return node.children.empty() || !Evaluate(node.children.front(), read);
    default:
        break;
    }
    // A tag of 0 names no property: nothing exists under it, so every leaf on it is false.
    const PropValue* stored = node.tag == 0 ? nullptr : read(node.tag);
    if (!stored)
        return false;
    switch (node.kind) {
    case RES_EXIST:
        return true;
    case RES_PROPERTY:
        return CompareProperty(*stored, node.relop, *node.value);
    case RES_CONTENT:
        return MatchContent(*stored, node.fuzzy, node.text);
    default:
        return false;
    }
}

void CollectTags(const CompiledRestriction::Node& node, std::vector<store::PropTag>& tags)
{
    if (node.tag != 0 && std::find(tags.begin(), tags.end(), node.tag) == tags.end())
        tags.push_back(node.tag);
    for (const auto& c : node.children)
        CollectTags(c, tags);
}

bool Relate(int order, long relop)
{
    switch (relop) {
    case RELOP_LT:
        return order < 0;
    case RELOP_LE:
        return order <= 0;
    case RELOP_GT:
        return order > 0;
    case RELOP_GE:
        return order >= 0;
    case RELOP_EQ:
        return order == 0;
    case RELOP_NE:
        return order != 0;
    default:
        return false;
    }
}

template <typename T> int Order(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

/// Numbers compare across Long, Double and Boolean (True as -1, as the callers pass it).
std::optional<double> AsNumber(const PropValue& v)
{
    if (const auto* i = std::get_if<std::int32_t>(&v))
        return *i;
    if (const auto* d = std::get_if<double>(&v))
        return *d;
    if (const auto* b = std::get_if<bool>(&v))
        return *b ? -1.0 : 0.0;
    if (const auto* c = std::get_if<store::Currency>(&v))
        return static_cast<double>(c->tenThousandths) / 10000.0;
    return std::nullopt;
}

/// The order of two single values, or nullopt when they are of kinds that do not compare.
std::optional<int> OrderOf(const PropValue& stored, const PropValue& wanted)
{
    if (const auto* s = std::get_if<std::string>(&stored)) {
        if (const auto* w = std::get_if<std::string>(&wanted))
            return Order(*s, *w);
        return std::nullopt;
    }
    if (const auto* s = std::get_if<store::SysTime>(&stored)) {
        if (const auto* w = std::get_if<store::SysTime>(&wanted))
            return Order(s->seconds, w->seconds);
        return std::nullopt;
    }
    if (const auto* s = std::get_if<store::Binary>(&stored)) {
        if (const auto* w = std::get_if<store::Binary>(&wanted))
            return Order(s->bytes, w->bytes);
        return std::nullopt;
    }
    if (std::holds_alternative<bool>(stored) != std::holds_alternative<bool>(wanted))
        return std::nullopt; // a flag is no number: True = 1 must not pass as True = -1
    auto a = AsNumber(stored);
    auto b = AsNumber(wanted);
    if (!a || !b)
        return std::nullopt;
    return Order(*a, *b);
}

using Ranges = std::optional<std::vector<store::ValueRange>>;

// Whether the store keeps every value of a tag's type as an integer (and so in its index).
bool IsIntegerType(store::PropTag tag)
{
    switch (store::PropTypeOf(tag)) {
    case store::PT_LONG:
    case store::PT_BOOLEAN:
    case store::PT_SYSTIME:
    case store::PT_CURRENCY:
        return true;
    default:
        return false;
    }
}

// The wanted value of a property leaf as the store's integer, when it compares as one: only
// a value of the tag's own kind does (other kinds compare by other rules).
std::optional<std::int64_t> IndexedValue(store::PropTag tag, const PropValue& wanted)
{
    switch (store::PropTypeOf(tag)) {
    case store::PT_LONG:
        if (const auto* i = std::get_if<std::int32_t>(&wanted))
            return *i;
        break;
    case store::PT_BOOLEAN:
        if (const auto* b = std::get_if<bool>(&wanted))
            return *b ? 1 : 0;
        break;
    case store::PT_SYSTIME:
        if (const auto* t = std::get_if<store::SysTime>(&wanted))
            return t->seconds;
        break;
    default:
        break;
    }
    return std::nullopt;
}

Ranges LeafRanges(const CompiledRestriction::Node& node)
{
    if (node.tag == 0 || !IsIntegerType(node.tag))
        return std::nullopt;
    store::ValueRange range{node.tag, std::nullopt, std::nullopt};
    if (node.kind == RES_EXIST)
        return std::vector{range};
    if (node.kind != RES_PROPERTY || !node.value)
        return std::nullopt;
    const auto v = IndexedValue(node.tag, *node.value);
    // Flags order True before False (as -1 and 0) where the store keeps 1 and 0: only their
    // equality maps onto the index.
    if (!v || (store::PropTypeOf(node.tag) == store::PT_BOOLEAN && node.relop != RELOP_EQ))
        return std::nullopt;
    switch (node.relop) {
    case RELOP_LT:
        range.high = *v - 1;
        break;
    case RELOP_LE:
        range.high = *v;
        break;
    case RELOP_GT:
        range.low = *v + 1;
        break;
    case RELOP_GE:
        range.low = *v;
        break;
    case RELOP_EQ:
        range.low = range.high = *v;
        break;
    default:
        return std::nullopt;
    }
    return std::vector{range};
}

// How narrow a single range is: bounded on both sides first, then on one side.
int Narrowness(const store::ValueRange& r)
{
    return (r.low ? 1 : 0) + (r.high ? 1 : 0);
}

Ranges NodeRanges(const CompiledRestriction::Node& node)
{
    switch (node.kind) {
    case RES_AND: {
        // Every child bounds the matches: single ranges on one tag narrow each other; the
        // narrowest bound of all is taken.
        std::vector<store::ValueRange> singles;
        Ranges best;
        for (const auto& c : node.children) {
            auto r = NodeRanges(c);
            if (!r)
                continue;
            if (r->size() == 1) {
                auto it = std::find_if(singles.begin(), singles.end(),
                                       [&](const auto& s) { return s.tag == r->front().tag; });
                if (it == singles.end()) {
                    singles.push_back(r->front());
                } else {
                    if (r->front().low && (!it->low || *r->front().low > *it->low))
                        it->low = r->front().low;
                    if (r->front().high && (!it->high || *r->front().high < *it->high))
                        it->high = r->front().high;
                }
            } else if (!best || r->size() < best->size()) {
                best = std::move(r);
            }
        }
        const auto narrowest =
            std::max_element(singles.begin(), singles.end(), [](const auto& a, const auto& b) {
                return Narrowness(a) < Narrowness(b);
            });
        if (narrowest != singles.end() && (!best || Narrowness(*narrowest) > 0))
            return std::vector{*narrowest};
        return best;
    }
    case RES_OR: {
        std::vector<store::ValueRange> all;
        for (const auto& c : node.children) {
            auto r = NodeRanges(c);
            if (!r)
                return std::nullopt;
            all.insert(all.end(), r->begin(), r->end());
        }
        if (all.empty())
            return std::nullopt; // an empty OR matches nothing; no bound is needed for that
        return all;
    }
    case RES_EXIST:
    case RES_PROPERTY:
        return LeafRanges(node);
    default:
        return std::nullopt;
    }
}

using Node = CompiledRestriction::Node;

bool IsFlagLeaf(const Node& node, bool value)
{
    if (node.kind != RES_PROPERTY || node.relop != RELOP_EQ || !node.value ||
        store::PropTypeOf(node.tag) != store::PT_BOOLEAN)
        return false;
    const auto* b = std::get_if<bool>(&*node.value);
    return b != nullptr && *b == value;
}

// The flag an AND node requires to be true (the recurring items); 0 when none.
store::PropTag RequiredFlag(const Node& node)
{
    if (node.kind != RES_AND)
        return 0;
    for (const auto& c : node.children)
        if (IsFlagLeaf(c, true))
            return c.tag;
    return 0;
}

// Whether an AND node keeps only items without the flag: it holds an OR of "the flag is
// missing" and "the flag is false".
bool ExcludesFlag(const Node& node, store::PropTag flag)
{
    if (node.kind != RES_AND)
        return false;
    return std::any_of(node.children.begin(), node.children.end(), [&](const Node& c) {
        if (c.kind != RES_OR || c.children.size() != 2)
            return false;
        const auto missing = [&](const Node& n) {
            return n.kind == RES_NOT && n.children.size() == 1 &&
                   n.children.front().kind == RES_EXIST && n.children.front().tag == flag;
        };
        const auto isFalse = [&](const Node& n) { return IsFlagLeaf(n, false) && n.tag == flag; };
        return (missing(c.children[0]) && isFalse(c.children[1])) ||
               (isFalse(c.children[0]) && missing(c.children[1]));
    });
}

// A calendar read's shape: an OR of the recurring series and the other items of a time
// window. Answers the window (a single range on a time property).
std::optional<store::ValueRange> OrWindow(const Node& node)
{
    if (node.kind != RES_OR || node.children.size() != 2)
        return std::nullopt;
    for (int series = 0; series < 2; ++series) {
        const auto flag = RequiredFlag(node.children[static_cast<std::size_t>(series)]);
        const auto& other = node.children[static_cast<std::size_t>(1 - series)];
        if (flag == 0 || !ExcludesFlag(other, flag))
            continue;
        const auto ranges = NodeRanges(other);
        if (ranges && ranges->size() == 1 && store::PropTypeOf(ranges->front().tag) ==
                                                 store::PT_SYSTIME)
            return ranges->front();
    }
    return std::nullopt;
}

std::optional<store::ValueRange> FindSeriesWindow(const Node& node)
{
    if (auto window = OrWindow(node))
        return window;
    if (node.kind == RES_AND)
        for (const auto& c : node.children)
            if (auto window = FindSeriesWindow(c))
                return window;
    return std::nullopt;
}

} // namespace

CompiledRestriction::CompiledRestriction(const Restriction& root) : m_root(Compile(root)) {}

std::optional<store::ValueRange> CompiledRestriction::SeriesWindow() const
{
    return FindSeriesWindow(m_root);
}

std::optional<std::vector<store::ValueRange>> CompiledRestriction::Ranges() const
{
    return NodeRanges(m_root);
}

bool CompiledRestriction::Matches(const Reader& read) const
{
    return Evaluate(m_root, read);
}

std::vector<store::PropTag> CompiledRestriction::Tags() const
{
    std::vector<store::PropTag> tags;
    CollectTags(m_root, tags);
    return tags;
}

std::string FoldCase(const std::string& text)
{
    std::string out;
    icu::UnicodeString::fromUTF8(text).foldCase().toUTF8String(out);
    return out;
}

bool CompareProperty(const PropValue& stored, long relop, const PropValue& wanted)
{
    if (const auto* list = std::get_if<store::MultiString>(&stored)) {
        // A list passes when any one of its values does.
        return std::any_of(list->begin(), list->end(), [&](const std::string& one) {
            return CompareProperty(PropValue{one}, relop, wanted);
        });
    }
    auto order = OrderOf(stored, wanted);
    if (!order)
        return relop == RELOP_NE; // values of different kinds are never equal
    return Relate(*order, relop);
}

bool MatchContent(const PropValue& stored, long fuzzy, const std::string& wanted)
{
    if (const auto* list = std::get_if<store::MultiString>(&stored)) {
        return std::any_of(list->begin(), list->end(), [&](const std::string& one) {
            return MatchContent(PropValue{one}, fuzzy, wanted);
        });
    }
    const auto* text = std::get_if<std::string>(&stored);
    if (!text)
        return false;
    const std::string subject = (fuzzy & FL_IGNORECASE) ? FoldCase(*text) : *text;
    switch (fuzzy & 0xFFFF) {
    case FL_SUBSTRING:
        return subject.find(wanted) != std::string::npos;
    case FL_PREFIX:
        return subject.compare(0, wanted.size(), wanted) == 0;
    default:
        return subject == wanted;
    }
}

} // namespace platform::mapi::detail
