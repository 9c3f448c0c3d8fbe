#include "player/script/AmfWriter.h"

#include "player/script/BuiltinXmlDom.h"

#include <cstring>
#include <unordered_set>

namespace tesmar::script {

namespace {

enum Marker : uint8_t {
    NumberMarker = 0x00,
    BooleanMarker = 0x01,
    StringMarker = 0x02,
    ObjectMarker = 0x03,
    NullMarker = 0x05,
    UndefinedMarker = 0x06,
    ReferenceMarker = 0x07,
    EcmaArrayMarker = 0x08,
    ObjectEndMarker = 0x09,
    StrictArrayMarker = 0x0A,
    DateMarker = 0x0B,
    LongStringMarker = 0x0C,
    XmlMarker = 0x0F,
    TypedObjectMarker = 0x10,
};

// Deeper nesting than this is written as undefined: the data would not be
// read back by anyone, and the writer must not exhaust the stack.
constexpr int kMaxDepth = 128;
// How far up a prototype chain inherited properties are looked for.
constexpr int kMaxChain = 256;
// A longer array is written with only the elements it has: listing every
// missing one would make the data as large as the length says.
constexpr uint32_t kMaxStrictLength = 1u << 20;

bool isFunction(const Value& v) { return v.isObject() && v.object()->kind() == ObjectKind::Function; }

} // namespace

AmfWriter::AmfWriter(VM& vm, AliasLookup aliasOf) : vm_(vm), aliasOf_(std::move(aliasOf)) {}

void AmfWriter::u16(uint16_t v)
{
    u8(uint8_t(v >> 8));
    u8(uint8_t(v));
}

void AmfWriter::u32(uint32_t v)
{
    u16(uint16_t(v >> 16));
    u16(uint16_t(v));
}

void AmfWriter::name(const std::string& text)
{
    const size_t size = std::min<size_t>(text.size(), 0xFFFF);
    u16(uint16_t(size));
    bytes_.insert(bytes_.end(), text.begin(), text.begin() + std::ptrdiff_t(size));
}

void AmfWriter::string(const std::string& text)
{
    if (text.size() <= 0xFFFF) {
        u8(StringMarker);
        name(text);
        return;
    }
    u8(LongStringMarker);
    u32(uint32_t(std::min<size_t>(text.size(), 0xFFFFFFFFu)));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

void AmfWriter::number(double n)
{
    uint64_t bits;
    std::memcpy(&bits, &n, sizeof bits);
    u32(uint32_t(bits >> 32));
    u32(uint32_t(bits));
}

void AmfWriter::value(const Value& v)
{
    if (v.isUndefined()) return u8(UndefinedMarker);
    if (v.isNull()) return u8(NullMarker);
    if (v.isBoolean()) {
        u8(BooleanMarker);
        return u8(v.boolean() ? 1 : 0);
    }
    if (v.isNumber()) {
        u8(NumberMarker);
        return number(v.number());
    }
    if (v.isString()) return string(v.string());
    object(v.object());
}

bool AmfWriter::enumerable(const Property& p) const
{
    return !(p.flags & DontEnum) && p.visibleTo(vm_.swfVersion());
}

std::string AmfWriter::aliasOf(Object* object)
{
    if (!aliasOf_) return {};
    // The class is the one the object was made by, as recorded on the
    // object itself; an inherited constructor does not count.
    for (const char* field : {"constructor", "__constructor__"}) {
        const Property* p = object->findOwn(field);
        if (!p || p->accessor || !p->value.isObject()) continue;
        std::string alias = aliasOf_(p->value.object());
        if (!alias.empty()) return alias;
    }
    return {};
}

void AmfWriter::object(Object* object)
{
    if (object->kind() == ObjectKind::Function || object->kind() == ObjectKind::Clip || depth_ >= kMaxDepth)
        return u8(UndefinedMarker);
    if (object->kind() == ObjectKind::Date) {
        u8(DateMarker);
        number(object->primitive.isNumber() ? object->primitive.number() : 0);
        return u16(0);   // the time zone, which readers ignore
    }
    if (XmlNode* node = asXmlNode(Value(object)); node && node->document) {
        const std::string text = vm_.toString(Value(object));
        u8(XmlMarker);
        u32(uint32_t(std::min<size_t>(text.size(), 0xFFFFFFFFu)));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        return;
    }
    if (auto it = references_.find(object); it != references_.end()) {
        u8(ReferenceMarker);
        return u16(it->second);
    }
    if (references_.size() < 0xFFFF) references_.emplace(object, uint16_t(references_.size()));
    ++depth_;
    if (object->kind() == ObjectKind::Array) {
        array(static_cast<ArrayObject*>(object));
    } else if (std::string alias = aliasOf(object); !alias.empty()) {
        u8(TypedObjectMarker);
        name(alias);
        properties(object);
    } else {
        u8(ObjectMarker);
        properties(object);
    }
    --depth_;
}

void AmfWriter::properties(Object* object)
{
    members(object, false);
    u16(0);
    u8(ObjectEndMarker);
}

void AmfWriter::fileMembers(Object* object)
{
    members(object, true);
}

void AmfWriter::members(Object* object, bool fileForm)
{
    // Own properties in the order they were made, then the inherited ones
    // that they do not hide.
    std::unordered_set<std::string> seen;
    std::unordered_set<Object*> levels;
    Object* level = object;
    for (int chain = 0; level && chain < kMaxChain && levels.insert(level).second; ++chain) {
        for (const Property& p : level->properties()) {
            if (!seen.insert(p.name).second || !enumerable(p)) continue;
            const Value v = stored(p);
            if (isFunction(v)) continue;
            name(p.name);
            value(v);
            if (fileForm) u8(0);
        }
        level = level->proto();
    }
}

bool AmfWriter::hasNamedProperties(ArrayObject* array)
{
    for (const Property& p : array->properties()) {
        if (!enumerable(p) || p.name == "length") continue;
        const std::optional<int32_t> index = elementIndex(p.name);
        if (!index || *index < 0) return true;
    }
    return false;
}

void AmfWriter::array(ArrayObject* array)
{
    const uint32_t length = array->length();
    if (arraysWithNames_ || length > kMaxStrictLength || hasNamedProperties(array)) {
        u8(EcmaArrayMarker);
        u32(length);
        return properties(array);
    }
    u8(StrictArrayMarker);
    u32(length);
    for (uint32_t i = 0; i < length; ++i) {
        const Property* p = array->findOwn(std::to_string(i));
        value(p && !isFunction(p->value) ? stored(*p) : Value());
    }
}

} // namespace tesmar::script
