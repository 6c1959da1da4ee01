#pragma once

#include <QString>

#include <ostream>
#include <string>

namespace veltron::cli {

// A small writer of JSON text into one growing buffer. Numbers are written
// with the shortest digits that read back to the same double; commas
// between members are its business. A long text can be handed out in parts
// (writeTo) while it is being written.
class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // A member's name: plain ASCII without quotes and backslashes, as the
    // program's own names are; it is written as it is.
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
    // Writes the text so far to out and empties the buffer; the writing goes on.
    void writeTo(std::ostream& out);

private:
    void separate();
    std::string text_;
    bool first_ = true;  // no member or element written yet at this level
    bool afterKey_ = false;
};

// A text as a JSON string, quotes included.
std::string jsonString(const QString& s);

}  // namespace veltron::cli
