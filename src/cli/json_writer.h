#pragma once

#include <QString>

#include <string>

namespace veltron::cli {

// A small writer of JSON text. Numbers are written with the shortest digits
// that read back to the same double; commas between members are its business.
class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(const char* name);
    void value(double x);
    void value(int x);
    void value(bool x);
    void value(const QString& s);
    template <typename T>
    void member(const char* name, const T& x)
    {
        key(name);
        value(x);
    }
    // A member whose value is an array of the numbers.
    template <typename Numbers>
    void arrayMember(const char* name, const Numbers& numbers)
    {
        key(name);
        beginArray();
        for (double x : numbers)
            value(x);
        endArray();
    }

    const std::string& text() const { return text_; }
    std::string take() { return std::move(text_); }

private:
    void separate();
    std::string text_;
    bool first_ = true;  // no member or element written yet at this level
    bool afterKey_ = false;
};

std::string jsonString(const QString& s);

}  // namespace veltron::cli
