#pragma once
// AMF0, the binary form in which the player sends script values to a
// remoting gateway and keeps them in shared objects. Values are written as
// the player finds them: getters are not run (their properties carry
// undefined), functions are left out, an object met again is written as a
// reference to its first appearance.

#include "player/script/VM.h"

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tesmar::script {

class AmfWriter {
public:
    // The name under which a constructor was registered (Object.registerClass),
    // empty when it has none: objects of such classes are written as typed objects.
    using AliasLookup = std::function<std::string(Object* constructor)>;

    AmfWriter(VM& vm, AliasLookup aliasOf);

    void value(const Value& v);
    // Arrays written with their indices as names (ECMA arrays) even when
    // they have nothing else: the form of shared objects' files.
    void writeArraysWithNames() { arraysWithNames_ = true; }
    // The members of an object as a shared object's file keeps them: each
    // name and value followed by a zero byte, without an end marker.
    void fileMembers(Object* object);
    // The pieces of the framing around values.
    void u8(uint8_t v) { bytes_.push_back(v); }
    void u16(uint16_t v);
    void u32(uint32_t v);
    // A length-prefixed UTF-8 name, cut at 65535 bytes.
    void name(const std::string& text);

    std::vector<uint8_t>& bytes() { return bytes_; }

private:
    void string(const std::string& text);
    void number(double n);
    void object(Object* object);
    void properties(Object* object);
    // Writes the name and value of each member that AMF carries, with a
    // zero byte after each in the file form.
    void members(Object* object, bool fileForm);
    void array(ArrayObject* array);
    bool hasNamedProperties(ArrayObject* array);
    std::string aliasOf(Object* object);
    // A property as written: its plain value, undefined for a getter.
    static Value stored(const Property& p) { return p.accessor ? Value() : p.value; }
    bool enumerable(const Property& p) const;

    VM& vm_;
    AliasLookup aliasOf_;
    std::vector<uint8_t> bytes_;
    std::unordered_map<Object*, uint16_t> references_;
    int depth_ = 0;
    bool arraysWithNames_ = false;
};

} // namespace tesmar::script
