#include "exchange/ImportFormats.h"

#include <memory>
#include <optional>

namespace corvane {

namespace {

// One value of a property list.
struct TPlistValue {
    enum class Kind { String, Other, Dict, Array } kind = Kind::Other;
    std::string text; // a string's text, an integer's digits
    std::vector<std::pair<std::string, std::unique_ptr<TPlistValue>>> dict;
    std::vector<std::unique_ptr<TPlistValue>> array;

    const TPlistValue* Get(std::string_view key) const
    {
        for (const auto& [k, v] : dict)
            if (k == key)
                return v.get();
        return nullptr;
    }
    std::string String(std::string_view key) const
    {
        const TPlistValue* v = Get(key);
        return v ? v->text : std::string();
    }
};

// A reader of the XML that property lists are written in: elements, text,
// the five entities and character references, CDATA, comments, the
// declaration and the document type.
class TPlistReader {
public:
    explicit TPlistReader(std::string_view xml) : xml_(xml) { }

    std::unique_ptr<TPlistValue> Read(std::string& error)
    {
        SkipProlog();
        if (!OpenTag("plist")) {
            error = Fail("the file is no property list (no <plist> element)");
            return nullptr;
        }
        auto value = Value();
        if (!value || !CloseTag("plist")) {
            error = Fail(error_.empty() ? "the property list ends early" : error_);
            return nullptr;
        }
        return value;
    }

private:
    std::string Fail(const std::string& why) const
    {
        int line = 1;
        for (size_t i = 0; i < pos_ && i < xml_.size(); ++i)
            line += xml_[i] == '\n';
        return "The file cannot be read as a property list (line " + std::to_string(line) + ": " + why
            + "). It may have been cut short or damaged. Nothing was imported.";
    }
    void SkipSpace()
    {
        for (;;) {
            while (pos_ < xml_.size()
                && (xml_[pos_] == ' ' || xml_[pos_] == '\t' || xml_[pos_] == '\r' || xml_[pos_] == '\n'))
                ++pos_;
            if (xml_.substr(pos_).starts_with("<!--")) {
                const size_t end = xml_.find("-->", pos_ + 4);
                pos_ = end == std::string_view::npos ? xml_.size() : end + 3;
                continue;
            }
            return;
        }
    }
    void SkipProlog()
    {
        for (;;) {
            SkipSpace();
            if (xml_.substr(pos_).starts_with("<?") || xml_.substr(pos_).starts_with("<!DOCTYPE")) {
                const size_t end = xml_.find('>', pos_);
                pos_ = end == std::string_view::npos ? xml_.size() : end + 1;
                continue;
            }
            return;
        }
    }
    // Reads "<name ...>" or "<name/>"; `empty` tells which.
    std::optional<std::string> AnyOpenTag(bool& empty)
    {
        SkipSpace();
        if (pos_ >= xml_.size() || xml_[pos_] != '<' || pos_ + 1 >= xml_.size() || xml_[pos_ + 1] == '/')
            return std::nullopt;
        const size_t end = xml_.find('>', pos_);
        if (end == std::string_view::npos)
            return std::nullopt;
        std::string_view tag = xml_.substr(pos_ + 1, end - pos_ - 1);
        empty = !tag.empty() && tag.back() == '/';
        if (empty)
            tag.remove_suffix(1);
        pos_ = end + 1;
        return std::string(tag.substr(0, tag.find_first_of(" \t\r\n")));
    }
    bool OpenTag(std::string_view name)
    {
        bool empty = false;
        const auto tag = AnyOpenTag(empty);
        return tag && *tag == name && !empty;
    }
    bool CloseTag(std::string_view name)
    {
        SkipSpace();
        const std::string close = "</" + std::string(name);
        if (!xml_.substr(pos_).starts_with(close))
            return false;
        const size_t end = xml_.find('>', pos_);
        if (end == std::string_view::npos)
            return false;
        pos_ = end + 1;
        return true;
    }
    // Character data up to the next tag, entities decoded.
    std::optional<std::string> Text()
    {
        std::string out;
        while (pos_ < xml_.size()) {
            if (xml_.substr(pos_).starts_with("<![CDATA[")) {
                const size_t end = xml_.find("]]>", pos_);
                if (end == std::string_view::npos)
                    return std::nullopt;
                out += xml_.substr(pos_ + 9, end - pos_ - 9);
                pos_ = end + 3;
                continue;
            }
            const char c = xml_[pos_];
            if (c == '<')
                return out;
            if (c != '&') {
                out += c;
                ++pos_;
                continue;
            }
            const size_t semi = xml_.find(';', pos_);
            if (semi == std::string_view::npos || semi - pos_ > 10)
                return std::nullopt;
            const std::string_view entity = xml_.substr(pos_ + 1, semi - pos_ - 1);
            pos_ = semi + 1;
            if (entity == "lt")
                out += '<';
            else if (entity == "gt")
                out += '>';
            else if (entity == "amp")
                out += '&';
            else if (entity == "quot")
                out += '"';
            else if (entity == "apos")
                out += '\'';
            else if (entity.starts_with("#")) {
                const bool hex = entity.size() > 1 && (entity[1] == 'x' || entity[1] == 'X');
                const std::string digits(entity.substr(hex ? 2 : 1));
                const unsigned long cp = std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10);
                if (digits.empty() || cp == 0 || cp > 0x10FFFF)
                    return std::nullopt;
                out += EncodeUtf8(std::u32string(1, static_cast<char32_t>(cp)));
            } else {
                return std::nullopt;
            }
        }
        return std::nullopt; // the file ended inside the element
    }
    std::unique_ptr<TPlistValue> Value()
    {
        bool empty = false;
        const auto tag = AnyOpenTag(empty);
        if (!tag) {
            error_ = "a value was expected";
            return nullptr;
        }
        if (++depth_ > 200) {
            error_ = "the lists nest too deep";
            return nullptr;
        }
        auto value = std::make_unique<TPlistValue>();
        if (*tag == "dict") {
            value->kind = TPlistValue::Kind::Dict;
            while (!empty && !CloseTag("dict")) {
                if (!OpenTag("key")) {
                    error_ = "a <key> was expected in a <dict>";
                    return nullptr;
                }
                auto key = Text();
                if (!key || !CloseTag("key")) {
                    error_ = "a <key> is not closed";
                    return nullptr;
                }
                auto item = Value();
                if (!item)
                    return nullptr;
                value->dict.emplace_back(std::move(*key), std::move(item));
            }
        } else if (*tag == "array") {
            value->kind = TPlistValue::Kind::Array;
            while (!empty && !CloseTag("array")) {
                auto item = Value();
                if (!item)
                    return nullptr;
                value->array.push_back(std::move(item));
            }
        } else if (!empty) {
            auto text = Text();
            if (!text || !CloseTag(*tag)) {
                error_ = "<" + *tag + "> is not closed";
                return nullptr;
            }
            value->kind = *tag == "string" ? TPlistValue::Kind::String : TPlistValue::Kind::Other;
            value->text = std::move(*text);
        }
        --depth_;
        return value;
    }

    std::string_view xml_;
    size_t pos_ = 0;
    int depth_ = 0;
    std::string error_;
};

// The group's name: "groupName" of the dict itself or of its "groupInfo".
std::string GroupNameOf(const TPlistValue& dict)
{
    std::string name = dict.String("groupName");
    if (name.empty())
        if (const TPlistValue* info = dict.Get("groupInfo"))
            name = info->String("groupName");
    return name;
}

void Collect(
    const TPlistValue& value, std::vector<std::string>& folders, bool top, TImportSet& set, const TCodePage& cp)
{
    if (value.kind == TPlistValue::Kind::Array) {
        for (const auto& item : value.array)
            Collect(*item, folders, top && value.array.size() == 1, set, cp);
        return;
    }
    if (value.kind != TPlistValue::Kind::Dict)
        return;
    if (value.Get("plainText") || value.Get("abbreviation")) {
        const std::string abbreviation = value.String("abbreviation");
        const std::string label = value.String("label");
        const std::string type = value.String("snippetType");
        const std::string what = cp.fromUtf8(abbreviation.empty() ? label : abbreviation);
        // 0 plain text, 3 formatted text (its plain text is taken); the others are scripts.
        if (!type.empty() && type != "0" && type != "3") {
            set.notTaken.push_back({what, "a script snippet; Corvane does not run scripts"});
            return;
        }
        if (!value.Get("plainText")) {
            set.notTaken.push_back({what, "no plainText"});
            return;
        }
        TIncoming in;
        in.folders = folders;
        in.name = label.empty() ? abbreviation : label;
        in.macro = abbreviation;
        in.text = value.String("plainText");
        if (type == "3")
            in.note = "formatted snippet: its plain text is taken";
        AddIncoming(set, std::move(in), cp);
        return;
    }
    // A group one file holds alone gives its folder to the file's own folder.
    const std::string group = GroupNameOf(value);
    const bool pushed = !group.empty() && !top;
    if (pushed)
        folders.push_back(group);
    for (const auto& [key, item] : value.dict)
        if (key != "groupInfo")
            Collect(*item, folders, false, set, cp);
    if (pushed)
        folders.pop_back();
}

} // namespace

TImportSet ReadPlistImport(std::string_view bytes, const TCodePage& codePage)
{
    TImportSet set;
    if (bytes.starts_with("bplist")) {
        set.error = "The file is a binary property list. Export the snippets as XML and import that file.";
        return set;
    }
    set.error = CheckImportBytes(bytes, true);
    if (!set.error.empty())
        return set;
    TPlistReader reader(WithoutUtf8Bom(bytes));
    const auto root = reader.Read(set.error);
    if (!root)
        return set;
    std::vector<std::string> folders;
    Collect(*root, folders, true, set, codePage);
    if (set.replies.empty() && set.notTaken.empty())
        set.error = "The property list holds no snippets (no \"plainText\" or \"abbreviation\"). Nothing was imported.";
    return set;
}

} // namespace corvane
