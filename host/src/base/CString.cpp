#include "Modelo/base/CString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

CString CString::Mid(int first) const {
    if (first < 0)
        first = 0;
    if (size_t(first) >= s_.size())
        return CString();
    return CString(s_.substr(size_t(first)));
}

CString CString::Mid(int first, int count) const {
    if (first < 0)
        first = 0;
    if (count <= 0 || size_t(first) >= s_.size())
        return CString();
    return CString(s_.substr(size_t(first), size_t(count)));
}

CString CString::Left(int count) const {
    return Mid(0, count);
}

CString CString::Right(int count) const {
    if (count <= 0)
        return CString();
    if (size_t(count) >= s_.size())
        return *this;
    return CString(s_.substr(s_.size() - size_t(count)));
}

int CString::Find(char c, int start) const {
    if (start < 0)
        start = 0;
    auto pos = s_.find(c, size_t(start));
    return pos == std::string::npos ? -1 : int(pos);
}

int CString::Find(const char* sub, int start) const {
    if (start < 0)
        start = 0;
    auto pos = s_.find(sub ? sub : "", size_t(start));
    return pos == std::string::npos ? -1 : int(pos);
}

int CString::ReverseFind(char c) const {
    auto pos = s_.rfind(c);
    return pos == std::string::npos ? -1 : int(pos);
}

int CString::Replace(const char* oldText, const char* newText) {
    const std::string from = oldText ? oldText : "";
    const std::string to = newText ? newText : "";
    if (from.empty())
        return 0;
    int count = 0;
    std::string out;
    out.reserve(s_.size());
    size_t pos = 0;
    for (;;) {
        size_t hit = s_.find(from, pos);
        if (hit == std::string::npos)
            break;
        out.append(s_, pos, hit - pos);
        out += to;
        pos = hit + from.size();
        ++count;
    }
    if (count) {
        out.append(s_, pos, std::string::npos);
        s_.swap(out);
    }
    return count;
}

int CString::Replace(char oldChar, char newChar) {
    int count = 0;
    for (char& c : s_)
        if (c == oldChar) {
            c = newChar;
            ++count;
        }
    return count;
}

int CString::Remove(char c) {
    const size_t before = s_.size();
    std::erase(s_, c);
    return int(before - s_.size());
}

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < s_.size() && texto::EsBlanco(s_[i]))
        ++i;
    s_.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    size_t n = s_.size();
    while (n > 0 && texto::EsBlanco(s_[n - 1]))
        --n;
    s_.resize(n);
    return *this;
}

CString& CString::TrimLeft(const char* chars) {
    auto pos = s_.find_first_not_of(chars ? chars : "");
    s_.erase(0, pos == std::string::npos ? s_.size() : pos);
    return *this;
}

CString& CString::TrimRight(const char* chars) {
    auto pos = s_.find_last_not_of(chars ? chars : "");
    s_.resize(pos == std::string::npos ? 0 : pos + 1);
    return *this;
}

// Only ASCII letters change case: a byte of another alphabet has no case we could know.
CString& CString::MakeUpper() {
    for (char& c : s_)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return *this;
}

CString& CString::MakeLower() {
    for (char& c : s_)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return *this;
}

static std::string vformat(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0)
        return std::string();
    std::string out(size_t(n) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(size_t(n));
    return out;
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    s_ = vformat(format, args);
    va_end(args);
}

CString CString::Formatted(const char* format, ...) {
    va_list args;
    va_start(args, format);
    CString out(vformat(format, args));
    va_end(args);
    return out;
}

int CString::Compare(const char* other) const {
    // Byte-wise, as unsigned bytes: "Ñ" sorts after "Z", never before "A".
    const int r = s_.compare(other ? other : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const char* other) const {
    CString a(*this), b(other);
    return a.MakeUpper().Compare(b.MakeUpper());
}

// ----- encodings --------------------------------------------------------------------------------

char32_t texto::LeerCaracter(std::string_view s, size_t i, size_t& largo) {
    const auto b = static_cast<unsigned char>(s[i]);
    largo = 1;
    const size_t n = b >= 0xF0 && b <= 0xF4  ? 4
                     : b >= 0xE0 && b < 0xF0 ? 3
                     : b >= 0xC2 && b < 0xE0 ? 2
                                             : 1;
    if (n == 1 || i + n > s.size())
        return b;
    char32_t c = b & (0xFF >> (n + 1));
    for (size_t k = 1; k < n; ++k) {
        const auto u = static_cast<unsigned char>(s[i + k]);
        if ((u & 0xC0) != 0x80)
            return b;
        c = (c << 6) | (u & 0x3F);
    }
    // Overlong forms, surrogates and code points past Unicode are not UTF-8: the lead byte is a
    // Latin-1 character of its own.
    const char32_t minimo = n == 2 ? 0x80 : n == 3 ? 0x800 : 0x10000;
    if (c < minimo || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        return b;
    largo = n;
    return c;
}

CString texto::AUtf8(const CString& t) {
    const std::string_view s = t.view();
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (size_t i = 0, largo = 0; i < s.size(); i += largo) {
        const char32_t c = LeerCaracter(s, i, largo);
        if (largo > 1 || c < 0x80) {
            out.append(s.substr(i, largo));
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return CString(std::move(out));
}

bool texto::ALatin1(const CString& t, CString& latin1) {
    const std::string_view s = t.view();
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0, largo = 0; i < s.size(); i += largo) {
        const char32_t c = LeerCaracter(s, i, largo);
        if (c > 0xFF) {
            latin1.Empty();
            return false;
        }
        out += char(c);
    }
    latin1 = CString(std::move(out));
    return true;
}
