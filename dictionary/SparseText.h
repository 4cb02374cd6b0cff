#pragma once

#include <memory>
#include <string>
#include <string_view>

/// A text that most holders leave empty (an in-context translation, the
/// identifier of a combo box): one pointer, with no memory of its own until
/// it is set to something. It reads as a const std::string.
class SparseText
{
public:
    SparseText() = default;
    SparseText(std::string_view text) { assign(text); }
    SparseText(const SparseText& other) { assign(other.str()); }
    SparseText(SparseText&&) noexcept = default;
    SparseText& operator=(const SparseText& other)
    {
        if (this != &other)
            assign(other.str());
        return *this;
    }
    SparseText& operator=(SparseText&&) noexcept = default;
    SparseText& operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }
    SparseText& operator=(std::string&& text)
    {
        if (text.empty())
            m_text.reset();
        else if (m_text)
            *m_text = std::move(text);
        else
            m_text = std::make_unique<std::string>(std::move(text));
        return *this;
    }
    SparseText& operator=(const char* text) { return *this = std::string_view(text); }

    void assign(std::string_view text)
    {
        if (text.empty())
            m_text.reset();
        else if (m_text)
            m_text->assign(text);
        else
            m_text = std::make_unique<std::string>(text);
    }
    void clear() { m_text.reset(); }

    bool empty() const { return !m_text; }
    std::size_t size() const { return m_text ? m_text->size() : 0; }
    const std::string& str() const { return m_text ? *m_text : Empty(); }
    operator const std::string&() const { return str(); }

    friend bool operator==(const SparseText& a, const SparseText& b) { return a.str() == b.str(); }
    friend bool operator==(const SparseText& a, std::string_view b) { return a.str() == b; }
    friend bool operator==(const SparseText& a, const std::string& b) { return a.str() == b; }
    friend bool operator==(const SparseText& a, const char* b) { return a.str() == b; }

private:
    static const std::string& Empty()
    {
        static const std::string empty;
        return empty;
    }

    std::unique_ptr<std::string> m_text;
};
