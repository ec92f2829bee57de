#pragma once
// Keyboard layouts as a system translates their keys: which character each
// key gives with Shift or AltGr (Ctrl+Alt), and which keys are dead accents.
#include "platform/Desktop.h"
#include "platform/KeyboardLayouts.h"

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace corvane::fakes {

enum class Level { Plain, Shift, AltGr };

struct KeyStroke {
    int virtualKey;
    Level level;
    bool operator<(const KeyStroke& other) const
    {
        return std::tie(virtualKey, level) < std::tie(other.virtualKey, other.level);
    }
};

class FakeLayout {
public:
    // `keys`: virtual key, then the characters it gives plain, with Shift
    // and with AltGr ('\0' for none; '^' and '`' stand for dead accents
    // when listed as such).
    FakeLayout& Key(int virtualKey, char plain, char shift, char altGr = '\0')
    {
        for (auto [level, c] : {std::pair{Level::Plain, plain}, {Level::Shift, shift}, {Level::AltGr, altGr}})
            if (c != '\0')
                keys_[{virtualKey, level}] = static_cast<char16_t>(static_cast<unsigned char>(c));
        return *this;
    }
    FakeLayout& DeadKey(int virtualKey, Level level)
    {
        dead_[{virtualKey, level}] = true;
        return *this;
    }

    TKeyTranslation Translate(int virtualKey, const TModifiers& m) const
    {
        const Level level = m.control && m.alt ? Level::AltGr : m.shift ? Level::Shift : Level::Plain;
        if (dead_.count({virtualKey, level}))
            return {TKeyTranslation::Kind::DeadKey};
        const auto found = keys_.find({virtualKey, level});
        if (found == keys_.end() || (m.control && !m.alt))
            return {TKeyTranslation::Kind::None};
        return {TKeyTranslation::Kind::Character, found->second};
    }
    // The key a user strikes for `c`.
    std::optional<KeyStroke> StrokeOf(char c) const
    {
        for (const auto& [stroke, given] : keys_)
            if (given == static_cast<char16_t>(static_cast<unsigned char>(c)))
                return stroke;
        return std::nullopt;
    }

private:
    std::map<KeyStroke, char16_t> keys_;
    std::map<KeyStroke, bool> dead_;
};

// Letters give themselves in both layouts, but for the ones a layout moves.
inline FakeLayout WithLetters(FakeLayout layout, const std::string& moved = {})
{
    for (char c = 'A'; c <= 'Z'; ++c)
        if (moved.find(c) == std::string::npos)
            layout.Key(c, static_cast<char>(c - 'A' + 'a'), c);
    return layout;
}

// German (QWERTZ): digits with their Shift characters, Y and Z swapped,
// AltGr for @ and braces, ^ and the acute accent dead.
inline FakeLayout GermanLayout()
{
    FakeLayout l = WithLetters(FakeLayout(), "QYZ");
    l.Key('Q', 'q', 'Q', '@').Key('Y', 'z', 'Z').Key('Z', 'y', 'Y');
    l.Key('1', '1', '!').Key('2', '2', '"').Key('3', '3', '\0').Key('4', '4', '$').Key('5', '5', '%');
    l.Key('6', '6', '&')
        .Key('7', '7', '/', '{')
        .Key('8', '8', '(', '[')
        .Key('9', '9', ')', ']')
        .Key('0', '0', '=', '}');
    l.Key(0xBC, ',', ';').Key(0xBE, '.', ':').Key(0xBD, '-', '_').Key(0xBB, '+', '*', '~').Key(0xBF, '#', '\'');
    l.DeadKey(0xDC, Level::Plain).DeadKey(0xDD, Level::Plain).DeadKey(0xDD, Level::Shift);
    return l;
}

// French (AZERTY): digits need Shift, the unshifted row gives & e " ' ( - e _ c a,
// A/Q and Z/W swapped, M beside L, ^ dead.
inline FakeLayout FrenchLayout()
{
    FakeLayout l = WithLetters(FakeLayout(), "AQZWM");
    l.Key('A', 'q', 'Q').Key('Q', 'a', 'A').Key('Z', 'w', 'W').Key('W', 'z', 'Z').Key(0xBA, 'm', 'M');
    l.Key('1', '&', '1')
        .Key('2', '\0', '2', '~')
        .Key('3', '"', '3', '#')
        .Key('4', '\'', '4', '{')
        .Key('5', '(', '5', '[');
    l.Key('6', '-', '6', '|')
        .Key('7', '\0', '7', '`')
        .Key('8', '_', '8', '\\')
        .Key('9', '\0', '9', '^')
        .Key('0', '\0', '0', '@');
    l.Key(0xDB, ')', '\0', ']').Key(0xBB, '=', '+', '}').Key('M', ',', '?').Key(0xBC, ';', '.').Key(0xBE, ':', '/');
    l.DeadKey(0xDD, Level::Plain);
    return l;
}

// Polish (programmer): AltGr gives the letters with diacritics, and with
// Shift their capitals.
inline FakeLayout PolishLayout()
{
    FakeLayout l = WithLetters(FakeLayout());
    for (auto [key, letter] : {std::pair{'A', 'a'}, {'C', 'c'}, {'E', 'e'}, {'L', 'l'}, {'N', 'n'}, {'O', 'o'},
             {'S', 's'}, {'X', 'z'}, {'Z', 'z'}})
        l.Key(key, static_cast<char>(key - 'A' + 'a'), key, static_cast<char>(letter | 0x80));
    for (char d = '0'; d <= '9'; ++d)
        l.Key(d, d, '\0');
    return l;
}

// The layouts a user has installed, each asked in turn.
class FakeKeyboardLayouts : public IKeyboardLayouts {
public:
    std::vector<TKeyTranslation> TranslateOnEach(int virtualKey, const TModifiers& modifiers) const override
    {
        std::vector<TKeyTranslation> given;
        for (const FakeLayout* layout : installed)
            given.push_back(layout->Translate(virtualKey, modifiers));
        return given;
    }
    std::vector<const FakeLayout*> installed;
};

} // namespace corvane::fakes
