#pragma once
// A script value: undefined, null, boolean, number, string or object.
// Movie clips are objects too; a value holding a clip follows it by its path
// (see ClipObject), so no separate kind is needed here.

#include <cstdint>
#include <string>
#include <utility>

namespace tesmar::script {

class Object;

enum class Type : uint8_t { Undefined, Null, Boolean, Number, String, Object };

class Value {
public:
    Value() = default;
    Value(bool b) : type_(Type::Boolean), number_(b ? 1 : 0) {}
    Value(double n) : type_(Type::Number), number_(n) {}
    Value(int n) : type_(Type::Number), number_(n) {}
    Value(std::string s) : type_(Type::String), string_(std::move(s)) {}
    Value(const char* s) : type_(Type::String), string_(s) {}
    Value(Object* o);

    static Value null() { Value v; v.type_ = Type::Null; return v; }

    Type type() const { return type_; }
    bool isUndefined() const { return type_ == Type::Undefined; }
    bool isNull() const { return type_ == Type::Null; }
    bool isNullish() const { return type_ == Type::Undefined || type_ == Type::Null; }
    bool isBoolean() const { return type_ == Type::Boolean; }
    bool isNumber() const { return type_ == Type::Number; }
    bool isString() const { return type_ == Type::String; }
    bool isObject() const { return type_ == Type::Object; }

    bool boolean() const { return number_ != 0; }
    double number() const { return number_; }
    const std::string& string() const { return string_; }
    Object* object() const { return object_; }

private:
    Type type_ = Type::Undefined;
    double number_ = 0;
    Object* object_ = nullptr;
    std::string string_;
};

inline Value::Value(Object* o) : type_(o ? Type::Object : Type::Null), object_(o) {}

} // namespace tesmar::script
