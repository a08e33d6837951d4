// CString: the framework's 8-bit text. Box values, SQL and data-file lines are bytes, so the
// class never interprets an encoding; character classes treat bytes >= 0x80 as letters of an
// unknown alphabet (never as blanks or digits).
#pragma once

#include "Modelo/base/Afx.h"

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>

class MODELO_API CString {
public:
    CString() = default;
    CString(const char* text) : s_(text ? text : "") {}
    CString(const char* text, int length) : s_(text, length > 0 ? size_t(length) : 0) {}
    CString(std::string text) : s_(std::move(text)) {}
    CString(std::string_view text) : s_(text) {}
    CString(char c, int repeat = 1) : s_(repeat > 0 ? size_t(repeat) : 0, c) {}

    int GetLength() const { return int(s_.size()); }
    void Reserve(int n) { s_.reserve(n > 0 ? size_t(n) : 0); }
    bool IsEmpty() const { return s_.empty(); }
    void Empty() { s_.clear(); }
    char GetAt(int i) const { return s_.at(size_t(i)); }
    void SetAt(int i, char c) { s_.at(size_t(i)) = c; }
    char operator[](int i) const { return GetAt(i); }

    operator const char*() const { return s_.c_str(); }
    const char* c_str() const { return s_.c_str(); }
    const std::string& str() const { return s_; }
    std::string_view view() const { return s_; }

    // Substrings with the framework's forgiving bounds: a start beyond the end gives "",
    // a count beyond the end is cut short, negative values count as zero.
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    int Find(char c, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char c) const;
    int Replace(const char* oldText, const char* newText);
    int Replace(char oldChar, char newChar);
    int Remove(char c);

    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim() { return TrimRight().TrimLeft(); }
    CString& TrimLeft(const char* chars);
    CString& TrimRight(const char* chars);
    CString& MakeUpper();
    CString& MakeLower();

    // printf-style formatting; the result replaces the text.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    static CString Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));

    int Compare(const char* other) const;
    int CompareNoCase(const char* other) const;

    CString& operator+=(const CString& other) {
        s_ += other.s_;
        return *this;
    }
    CString& operator+=(const char* other) {
        s_ += other ? other : "";
        return *this;
    }
    CString& operator+=(char c) {
        s_ += c;
        return *this;
    }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.s_ + b.s_); }
    friend CString operator+(const CString& a, const char* b) {
        return CString(a.s_ + (b ? b : ""));
    }
    friend CString operator+(const char* a, const CString& b) {
        return CString(std::string(a ? a : "") + b.s_);
    }
    friend CString operator+(const CString& a, char c) { return CString(a.s_ + c); }
    // A chain of additions grows one text instead of making a new one at every step.
    friend CString operator+(CString&& a, const CString& b) {
        a.s_ += b.s_;
        return std::move(a);
    }
    friend CString operator+(CString&& a, const char* b) {
        a.s_ += b ? b : "";
        return std::move(a);
    }
    friend CString operator+(CString&& a, char c) {
        a.s_ += c;
        return std::move(a);
    }

    friend bool operator==(const CString& a, const CString& b) { return a.s_ == b.s_; }
    friend bool operator==(const CString& a, const char* b) { return a.s_ == (b ? b : ""); }
    // Whole texts, embedded NULs included, as unsigned bytes.
    friend std::strong_ordering operator<=>(const CString& a, const CString& b) {
        const int r = a.s_.compare(b.s_);
        return r <=> 0;
    }
    friend std::strong_ordering operator<=>(const CString& a, const char* b) {
        return a.Compare(b ? b : "") <=> 0;
    }

private:
    std::string s_;
};

// Byte classes that never misread a byte >= 0x80 (no sign extension, no locale).
namespace texto {
inline bool EsBlanco(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u == ' ' || (u >= '\t' && u <= '\r');
}
inline bool EsDigito(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= '0' && u <= '9';
}
inline bool EsControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}
// Whether the text holds a character no key of a one-line box types (a line break, a tab, an
// escape sequence).
inline bool TieneControl(std::string_view s) {
    for (char c : s)
        if (EsControl(c))
            return true;
    return false;
}

// Box texts come as UTF-8 (typed, from the command line) or as Latin-1 (older data files), and
// one text may mix both. A character is read as a whole valid UTF-8 sequence where there is
// one, and otherwise as the one Latin-1 byte: the character that starts at byte i, and how many
// bytes it takes.
MODELO_API char32_t LeerCaracter(std::string_view s, size_t i, size_t& largo);
// The text in UTF-8, every character read as above.
MODELO_API CString AUtf8(const CString& t);
// The text in ISO-8859-1, every character read as above. False, with `latin1` empty, when a
// character has no place in Latin-1.
MODELO_API bool ALatin1(const CString& t, CString& latin1);
} // namespace texto
