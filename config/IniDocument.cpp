#include "config/IniDocument.h"

#include <cstring>

#include "config/IniValues.h"

namespace {

// Section and key names match without regard to case, as the platform's do.
bool SameName(const Text& stored, const Text& wanted) { return EqualsIgnoringCase(stored, wanted); }

// Names and values are zero-terminated strings to the platform: anything
// after an embedded zero character is not part of them.
Text UpToZero(Text text) {
    const auto zero = text.find(u'\0');
    if (zero != Text::npos) text.resize(zero);
    return text;
}

bool IsLineBreak(char16_t c) { return c == u'\n' || c == u'\r'; }

IniSection* FindSection(IniDocument& document, const Text& wanted) {
    for (auto& section : document.sections)
        if (SameName(section.name, wanted)) return &section;
    return nullptr;
}

}  // namespace

IniDocument ParseIniDocument(const std::string& bytes, const AnsiCodePage& ansi) {
    IniDocument document;
    if (bytes.empty()) return document;
    DecodedIniText decoded = DecodeIniBytes(bytes, ansi);
    document.encoding = decoded.encoding;
    const Text& text = decoded.text;
    document.sections.push_back(IniSection{});

    std::size_t next = 0;
    const std::size_t end = text.size();
    bool previousHadName = true;  // no previous entry in this section yet
    bool sectionHasEntry = false;
    while (next < end) {
        std::size_t lineStart = next;
        while (next < end && !IsLineBreak(text[next])) ++next;
        while (next < end && IsLineBreak(text[next])) ++next;
        std::size_t lineEnd = next;
        while (lineStart < lineEnd && IsIniSpace(text[lineStart])) ++lineStart;
        while (lineEnd > lineStart && IsIniSpace(text[lineEnd - 1])) --lineEnd;
        if (lineStart >= lineEnd) continue;

        if (text[lineStart] == u'[') {
            std::size_t close = lineEnd;
            while (close > lineStart && text[close - 1] != u']') --close;
            // A '[' line with a ']' in it is a header, named by what lies
            // between the '[' and the last ']'; otherwise it is an entry.
            if (close > lineStart) {
                IniSection section;
                section.name = UpToZero(TrimIniSpaces(text.substr(lineStart + 1, close - 1 - (lineStart + 1))));
                document.sections.push_back(std::move(section));
                previousHadName = true;
                sectionHasEntry = false;
                continue;
            }
        }

        IniEntry entry;
        std::size_t nameEnd = lineEnd;
        std::size_t equals = lineStart;
        while (equals < lineEnd && text[equals] != u'=') ++equals;
        if (equals < lineEnd) {
            nameEnd = equals;
            while (nameEnd > lineStart && IsIniSpace(text[nameEnd - 1])) --nameEnd;
            std::size_t valueStart = equals + 1;
            while (valueStart < lineEnd && IsIniSpace(text[valueStart])) ++valueStart;
            entry.hasValue = true;
            entry.value = UpToZero(text.substr(valueStart, lineEnd - valueStart));
        }
        entry.name = UpToZero(text.substr(lineStart, nameEnd - lineStart));
        // A nameless line directly after another nameless one is dropped.
        if (nameEnd > lineStart || !sectionHasEntry || previousHadName) {
            previousHadName = !entry.name.empty();
            sectionHasEntry = true;
            document.sections.back().entries.push_back(std::move(entry));
        }
    }
    return document;
}

std::string SaveIniDocument(const IniDocument& document, const AnsiCodePage& ansi) {
    Text text;
    for (const auto& section : document.sections) {
        if (!section.name.empty()) {
            text += u'[';
            text += section.name;
            text += u"]\r\n";
        }
        for (const auto& entry : section.entries) {
            text += entry.name;
            if (entry.hasValue) {
                text += u'=';
                text += entry.value;
            }
            text += u"\r\n";
        }
    }
    return EncodeIniText(text, document.encoding, ansi);
}

const IniEntry* FindIniEntry(const IniDocument& document, const Text& section, const Text& key) {
    const Text wantedSection = TrimIniSpaces(section);
    const Text wantedKey = TrimIniSpaces(key);
    for (const auto& candidate : document.sections) {
        if (!SameName(candidate.name, wantedSection)) continue;
        for (const auto& entry : candidate.entries)
            if (SameName(entry.name, wantedKey)) return &entry;
        return nullptr;
    }
    return nullptr;
}

bool SetIniValue(IniDocument& document, const Text& section, const Text& key, const Text& value) {
    const Text wantedSection = TrimIniSpaces(section);
    const Text wantedKey = TrimIniSpaces(key);
    const Text stored = UpToZero(TrimLeadingIniSpaces(value));
    IniSection* target = FindSection(document, wantedSection);
    if (target == nullptr) {
        IniSection created;
        created.name = UpToZero(TrimLeadingIniSpaces(section));
        document.sections.push_back(std::move(created));
        target = &document.sections.back();
    }
    for (auto& entry : target->entries) {
        if (!SameName(entry.name, wantedKey)) continue;
        if (entry.hasValue && entry.value == stored) return false;
        entry.hasValue = true;
        entry.value = stored;
        return true;
    }
    IniEntry created;
    created.name = UpToZero(TrimLeadingIniSpaces(key));
    created.hasValue = true;
    created.value = stored;
    target->entries.push_back(std::move(created));
    return true;
}

Text ReadIniString(const IniDocument& document, const Text& section, const Text& key,
                   const Text& defaultValue, std::size_t room) {
    const IniEntry* entry = FindIniEntry(document, section, key);
    if (entry != nullptr && entry->hasValue) return CopyIniEntry(entry->value, room);
    // The default loses its trailing blanks, as the platform's reader does.
    Text fallback = defaultValue;
    while (!fallback.empty() && fallback.back() == u' ') fallback.pop_back();
    return CopyIniEntry(fallback, room);
}

std::int32_t ReadIniInt(const IniDocument& document, const Text& section, const Text& key,
                        std::int32_t defaultValue) {
    // The platform reads a number through a 30-character text.
    const Text text = ReadIniString(document, section, key, Text(), 30);
    if (text.empty()) return defaultValue;
    return ParseIniNumber(text);
}

bool ReadIniBlock(const IniDocument& document, const Text& section, const Text& key, void* buffer,
                  std::size_t size) {
    // The stored value itself: quotes around it are not taken off for a block.
    const IniEntry* entry = FindIniEntry(document, section, key);
    if (entry == nullptr || !entry->hasValue) return false;
    const auto bytes = DecodeIniBlock(entry->value, size);
    if (!bytes) return false;
    if (size > 0) std::memcpy(buffer, bytes->data(), size);
    return true;
}
