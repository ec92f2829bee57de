#include "exchange/ImportFormats.h"

#include <yaml.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>

namespace corvane {

namespace {

// A loaded YAML document, freed with it.
class TYamlDocument {
public:
    TYamlDocument() = default;
    ~TYamlDocument()
    {
        if (loaded_)
            yaml_document_delete(&document_);
    }
    TYamlDocument(const TYamlDocument&) = delete;
    TYamlDocument& operator=(const TYamlDocument&) = delete;

    // Empty on success, else the parser's complaint with its line.
    std::string Load(std::string_view text)
    {
        yaml_parser_t parser;
        if (!yaml_parser_initialize(&parser))
            return "The YAML reader could not start.";
        yaml_parser_set_input_string(&parser, reinterpret_cast<const unsigned char*>(text.data()), text.size());
        std::string error;
        if (!yaml_parser_load(&parser, &document_)) {
            error = std::string("The file is not valid YAML (line ") + std::to_string(parser.problem_mark.line + 1)
                + ": " + (parser.problem ? parser.problem : "unreadable") + "). It may have been cut short or damaged.";
        } else {
            loaded_ = true;
        }
        yaml_parser_delete(&parser);
        return error;
    }
    yaml_node_t* Root() { return loaded_ ? yaml_document_get_root_node(&document_) : nullptr; }
    yaml_node_t* Node(int index) { return yaml_document_get_node(&document_, index); }

    std::string Scalar(const yaml_node_t* node) const
    {
        if (!node || node->type != YAML_SCALAR_NODE)
            return {};
        return std::string(reinterpret_cast<const char*>(node->data.scalar.value), node->data.scalar.length);
    }
    // The mapping's entries by key; empty for anything else.
    std::map<std::string, yaml_node_t*> Mapping(const yaml_node_t* node)
    {
        std::map<std::string, yaml_node_t*> entries;
        if (!node || node->type != YAML_MAPPING_NODE)
            return entries;
        for (auto* pair = node->data.mapping.pairs.start; pair < node->data.mapping.pairs.top; ++pair)
            entries.emplace(Scalar(Node(pair->key)), Node(pair->value));
        return entries;
    }
    std::vector<yaml_node_t*> Sequence(const yaml_node_t* node)
    {
        std::vector<yaml_node_t*> items;
        if (!node || node->type != YAML_SEQUENCE_NODE)
            return items;
        for (auto* item = node->data.sequence.items.start; item < node->data.sequence.items.top; ++item)
            items.push_back(Node(*item));
        return items;
    }

private:
    yaml_document_t document_{};
    bool loaded_ = false;
};

// The placeholder that a date variable's format and offset (seconds) give,
// or empty when Corvane has none that writes the same.
std::string DatePlaceholder(const std::string& format, long offset)
{
    const char* day = offset == 0 ? "%" : offset == -86400 ? "%Y" : offset == 86400 ? "%T" : nullptr;
    if (!day)
        return {};
    if (format == "%A, %B %d, %Y")
        return std::string(day) + "Date";
    if (format == "%-m/%-d/%Y")
        return std::string(day) + "ShortDate";
    if (format == "%A")
        return std::string(day) + "Day";
    if (offset == 0 && format == "%-H:%M:%S")
        return "%Time";
    if (offset == 0 && format == "%-H:%M")
        return "%ShortTime";
    return {};
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The names between `open` and `close` in order of first appearance.
std::vector<std::string> Enclosed(const std::string& text, std::string_view open, std::string_view close)
{
    std::vector<std::string> names;
    for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + open.size())) {
        const size_t end = text.find(close, at + open.size());
        if (end == std::string::npos)
            break;
        std::string name = text.substr(at + open.size(), end - at - open.size());
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(std::move(name));
    }
    return names;
}

struct TMatchResult {
    std::string text;
    std::vector<std::string> parameters;
    std::string why; // set when the match is not taken
};

TMatchResult Translate(TYamlDocument& doc, std::map<std::string, yaml_node_t*>& match)
{
    TMatchResult r;
    const bool isForm = match.count("form") != 0;
    if (match.count("replace"))
        r.text = doc.Scalar(match["replace"]);
    else if (isForm)
        r.text = doc.Scalar(match["form"]);
    else if (match.count("image_path"))
        r.why = "an image; Corvane's replies are text";
    else if (match.count("html") || match.count("markdown"))
        r.why = "HTML or Markdown text; only plain text is taken";
    else
        r.why = "no \"replace\" text";
    if (!r.why.empty())
        return r;
    if (match.count("regex")) {
        r.why = "a regular-expression trigger";
        return r;
    }
    // A block scalar ("|") ends with the line break of its last line, which
    // is layout of the file, not a paragraph of the reply.
    if (r.text.ends_with('\n'))
        r.text.pop_back();
    ReplaceAll(r.text, "$|$", "%Cursor");

    std::map<std::string, std::string> placeholders;
    for (yaml_node_t* var : doc.Sequence(match["vars"])) {
        auto v = doc.Mapping(var);
        const std::string name = doc.Scalar(v["name"]);
        const std::string type = doc.Scalar(v["type"]);
        if (type == "date") {
            auto params = doc.Mapping(v["params"]);
            const std::string offset = doc.Scalar(params["offset"]);
            const std::string placeholder
                = DatePlaceholder(doc.Scalar(params["format"]), offset.empty() ? 0 : std::atol(offset.c_str()));
            if (placeholder.empty()) {
                r.why = "the date format of {{" + name + "}} is none of Corvane's date placeholders";
                return r;
            }
            placeholders[name] = placeholder;
        } else if (type == "form") {
            // Its fields are {{name.field}}: the form's own parameters.
        } else {
            r.why = "the variable {{" + name + "}} is of type " + (type.empty() ? "unknown" : type)
                + ", which Corvane does not fill in";
            return r;
        }
    }
    for (const std::string& field : Enclosed(r.text, "[[", "]]")) {
        ReplaceAll(r.text, "[[" + field + "]]", field);
        r.parameters.push_back(field);
    }
    for (const std::string& var : Enclosed(r.text, "{{", "}}")) {
        const auto placeholder = placeholders.find(var);
        std::string to;
        if (placeholder != placeholders.end()) {
            to = placeholder->second;
        } else if (const size_t dot = var.find('.'); dot != std::string::npos) {
            to = var.substr(dot + 1); // a field of a form variable
            if (std::find(r.parameters.begin(), r.parameters.end(), to) == r.parameters.end())
                r.parameters.push_back(to);
        } else {
            r.why = "the variable {{" + var + "}} is none Corvane fills in";
            return r;
        }
        ReplaceAll(r.text, "{{" + var + "}}", to);
    }
    return r;
}

} // namespace

TImportSet ReadEspansoImport(std::string_view bytes, const TCodePage& codePage)
{
    TImportSet set;
    set.error = CheckImportBytes(bytes, true);
    if (!set.error.empty())
        return set;
    TYamlDocument doc;
    set.error = doc.Load(WithoutUtf8Bom(bytes));
    if (!set.error.empty())
        return set;
    auto top = doc.Mapping(doc.Root());
    if (!top.count("matches") || top["matches"]->type != YAML_SEQUENCE_NODE) {
        set.error = "The file has no \"matches\" list: it is not an espanso match file. Nothing was imported.";
        return set;
    }
    if (top.count("imports"))
        set.notTaken.push_back({"imports", "other match files are not read; import each of them"});
    if (top.count("global_vars"))
        set.notTaken.push_back({"global_vars", "global variables are not filled in"});
    for (yaml_node_t* node : doc.Sequence(top["matches"])) {
        auto match = doc.Mapping(node);
        std::vector<std::string> triggers;
        if (match.count("trigger"))
            triggers.push_back(doc.Scalar(match["trigger"]));
        for (yaml_node_t* t : doc.Sequence(match["triggers"]))
            triggers.push_back(doc.Scalar(t));
        std::erase(triggers, std::string());
        const std::string label = doc.Scalar(match["label"]);
        const std::string what = triggers.empty() ? (label.empty() ? std::string("a match") : label) : triggers.front();
        TMatchResult r = Translate(doc, match);
        if (!r.why.empty()) {
            set.notTaken.push_back({codePage.fromUtf8(what), r.why});
            continue;
        }
        if (triggers.empty() && !match.count("regex")) {
            set.notTaken.push_back({codePage.fromUtf8(what), "no trigger"});
            continue;
        }
        TIncoming in;
        in.name = label.empty() ? triggers.front() : label;
        in.macro = triggers.front();
        if (!r.parameters.empty()) {
            in.macro += "(";
            for (size_t i = 0; i < r.parameters.size(); ++i)
                in.macro += (i ? "," : "") + r.parameters[i];
            in.macro += ")";
        }
        in.text = r.text;
        for (size_t i = 1; i < triggers.size(); ++i)
            set.notTaken.push_back({codePage.fromUtf8(triggers[i]),
                "another trigger of \"" + codePage.fromUtf8(triggers.front()) + "\"; a reply has one macro"});
        AddIncoming(set, std::move(in), codePage);
    }
    return set;
}

} // namespace corvane
