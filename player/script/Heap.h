#pragma once
// Owns every script object and frees those no root reaches (mark and sweep).
// Collection happens only between scripts, so native code may hold raw
// pointers while a script runs.

#include "player/script/Object.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tesmar::script {

class Heap {
public:
    explicit Heap(bool caseSensitive) : caseSensitive_(caseSensitive) {}
    ~Heap();

    template <class T, class... Args>
    T* make(Args&&... args)
    {
        auto object = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T* raw = object.get();
        objects_.push_back(std::move(object));
        return raw;
    }

    // Property names up to SWF 6 ignore the case of ASCII letters.
    bool caseSensitive() const { return caseSensitive_; }
    std::string key(std::string_view name) const;

    // Frees every object that `roots` does not reach.
    void collect(const std::function<void(Tracer&)>& roots);
    size_t size() const { return objects_.size(); }

private:
    bool caseSensitive_;
    std::vector<std::unique_ptr<Object>> objects_;
};

} // namespace tesmar::script
