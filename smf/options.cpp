#include "smf/options.h"

#include "smf/number_scan.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

namespace smf {

namespace {

int clampToInt(double value) {
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    if (value <= low) {
        return std::numeric_limits<int>::min();
    }
    if (value >= high) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);   // truncates toward zero
}

int clampToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    out += text;
    out += '"';
    return out;
}

[[noreturn]] void badDefinition(std::string_view definition, std::string_view why) {
    throw std::invalid_argument("option definition " + quoted(definition) + ": " +
                                std::string(why));
}

std::vector<std::string> splitNames(std::string_view definition, std::string_view namesPart) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = namesPart.find('|', start);
        const std::string_view name = namesPart.substr(start, bar == std::string_view::npos
                                                                  ? std::string_view::npos
                                                                  : bar - start);
        if (name.empty()) {
            badDefinition(definition, "empty option name");
        }
        if (name.front() == '-') {
            badDefinition(definition, "option names are declared without leading dashes");
        }
        for (const char c : name) {
            if (static_cast<unsigned char>(c) <= ' ' || c == ':' || c == 0x7f) {
                badDefinition(definition, "option name with a blank or control character");
            }
        }
        if (std::find(names.begin(), names.end(), name) != names.end()) {
            badDefinition(definition, "option name repeated");
        }
        names.emplace_back(name);
        if (bar == std::string_view::npos) {
            return names;
        }
        start = bar + 1;
    }
}

// Length of the UTF-8 character starting at `pos`, so that an unknown letter
// inside a bundle is reported whole.
std::size_t characterLength(std::string_view word, std::size_t pos) {
    std::size_t end = pos + 1;
    while (end < word.size() && (static_cast<unsigned char>(word[end]) & 0xC0) == 0x80) {
        ++end;
    }
    return end - pos;
}

}  // namespace

Options::Options(int argc, const char* const* argv) { setOptions(argc, argv); }

void Options::setOptions(int argc, const char* const* argv) {
    m_command.clear();
    m_words.clear();
    if (argv == nullptr || argc <= 0) {
        return;
    }
    if (argv[0] != nullptr) {
        m_command = argv[0];
    }
    for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
        m_words.emplace_back(argv[i]);
    }
}

void Options::define(std::string_view definition) { define(definition, {}); }

void Options::define(std::string_view definition, std::string_view help) {
    const std::size_t equals = definition.find('=');
    if (equals == std::string_view::npos) {
        badDefinition(definition, "missing \"=\" and type letter");
    }
    Definition def;
    def.names = splitNames(definition, definition.substr(0, equals));
    const std::string_view typePart = definition.substr(equals + 1);
    if (typePart.empty()) {
        badDefinition(definition, "missing type letter");
    }
    switch (typePart.front()) {
    case 'b': def.type = Type::Boolean; break;
    case 'i': def.type = Type::Integer; break;
    case 'd': def.type = Type::Double; break;
    case 's': def.type = Type::String; break;
    default: badDefinition(definition, "type letter must be b, i, d or s");
    }
    const std::string_view afterType = typePart.substr(1);
    if (!afterType.empty()) {
        if (afterType.front() != ':') {
            badDefinition(definition, "expected \":\" and a default after the type letter");
        }
        def.defaultValue = std::string(afterType.substr(1));
    }
    if (def.type == Type::Boolean && def.defaultValue) {
        badDefinition(definition, "a boolean option takes no default");
    }
    const bool numeric = def.type == Type::Integer || def.type == Type::Double;
    if (numeric && def.defaultValue && !def.defaultValue->empty() &&
        scanNumber(*def.defaultValue, kOptionNumber).length == 0) {
        badDefinition(definition, "default does not begin with a number");
    }
    for (const auto& name : def.names) {
        if (m_index.contains(name)) {
            badDefinition(definition, "option name " + quoted(name) + " already declared");
        }
    }
    def.help = std::string(help);
    const std::size_t position = m_definitions.size();
    for (const auto& name : def.names) {
        m_index.emplace(name, position);
    }
    m_definitions.push_back(std::move(def));
}

bool Options::process(int argc, const char* const* argv, int errorCheck, int suppress) {
    setOptions(argc, argv);
    return process(errorCheck, suppress);
}

bool Options::process(int /*errorCheck*/, int /*suppress*/) {
    reset();
    return parseWords();
}

void Options::reset() {
    for (auto& def : m_definitions) {
        def.given = false;
        def.value.clear();
    }
    m_arguments.clear();
    m_error.clear();
    m_optionsRequested = false;
}

bool Options::fail(std::string message) {
    m_error = std::move(message);
    return false;
}

Options::Definition* Options::find(std::string_view name) {
    const auto it = m_index.find(name);
    return it == m_index.end() ? nullptr : &m_definitions[it->second];
}

const Options::Definition* Options::find(std::string_view name) const {
    const auto it = m_index.find(name);
    return it == m_index.end() ? nullptr : &m_definitions[it->second];
}

bool Options::isOneLetterOption(char letter) const {
    return find(std::string_view(&letter, 1)) != nullptr;
}

bool Options::startsOption(std::size_t index) const {
    const std::string_view word = m_words[index];
    if (word.size() < 2 || word.front() != '-') {
        return false;   // "" and "-" are arguments
    }
    if (word[1] == '-' || !scanWholeNumber(word, kOptionNumber)) {
        return true;
    }
    // A number such as "-25" stays an argument unless the declared letters
    // claim it whole, so that a digit option cannot swallow negative numbers.
    if (word.size() == 2) {
        return isOneLetterOption(word[1]);
    }
    return readLetterBundle(index).error.empty();
}

bool Options::parseWords() {
    for (std::size_t index = 0; index < m_words.size(); ++index) {
        const std::string& word = m_words[index];
        if (!startsOption(index)) {
            m_arguments.push_back(word);
            continue;
        }
        if (word == "--") {
            m_arguments.insert(m_arguments.end(), m_words.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                               m_words.end());
            return true;
        }
        const bool ok = word[1] == '-' ? parseLongOption(index) : parseLetterBundle(index);
        if (!ok) {
            return false;
        }
    }
    return true;
}

bool Options::parseLongOption(std::size_t& index) {
    const std::string_view word = m_words[index];
    const std::string_view body = word.substr(2);
    const std::size_t equals = body.find('=');
    const std::string_view name = body.substr(0, equals);
    const std::string spelled = "--" + std::string(name);
    const bool hasAttached = equals != std::string_view::npos;

    Definition* def = find(name);
    if (def == nullptr && name == "options") {
        if (hasAttached) {
            return fail("Error: option --options does not take a value");
        }
        m_optionsRequested = true;
        return true;
    }
    if (def == nullptr) {
        return fail("Error: unknown option " + spelled);
    }
    if (def->type == Type::Boolean) {
        if (hasAttached) {
            return fail("Error: option " + spelled + " does not take a value");
        }
        def->given = true;
        return true;
    }
    if (hasAttached) {
        return assignValue(*def, spelled, body.substr(equals + 1));
    }
    if (index + 1 >= m_words.size()) {
        return fail("Error: option " + spelled + " needs a value");
    }
    ++index;
    return assignValue(*def, spelled, m_words[index]);
}

Options::BundleReading Options::readLetterBundle(std::size_t index) const {
    const std::string_view word = m_words[index];
    BundleReading reading;
    for (std::size_t pos = 1; pos < word.size(); ++pos) {
        const auto found = m_index.find(word.substr(pos, 1));
        if (found == m_index.end()) {
            if (pos == 1) {
                reading.error = "Error: unknown option " + std::string(word);
            } else {
                reading.error = "Error: unknown option -" +
                                std::string(word.substr(pos, characterLength(word, pos))) + " in " +
                                std::string(word);
            }
            return reading;
        }
        const Definition& def = m_definitions[found->second];
        LetterUse use{found->second, {}, false};
        if (def.type == Type::Boolean) {
            reading.uses.push_back(use);
            continue;
        }
        const std::string spelled{'-', word[pos]};
        if (pos + 1 < word.size()) {
            use.value = word.substr(pos + 1);
        } else if (index + 1 < m_words.size()) {
            use.value = m_words[index + 1];
            use.takesNextWord = true;
        } else {
            reading.error = "Error: option " + spelled + " needs a value";
            return reading;
        }
        reading.error = valueError(def, spelled, use.value);
        reading.uses.push_back(use);
        return reading;
    }
    return reading;
}

bool Options::parseLetterBundle(std::size_t& index) {
    BundleReading reading = readLetterBundle(index);
    if (!reading.error.empty()) {
        return fail(std::move(reading.error));
    }
    for (const LetterUse& use : reading.uses) {
        Definition& def = m_definitions[use.definition];
        def.given = true;
        if (def.type != Type::Boolean) {
            def.value = std::string(use.value);
        }
        if (use.takesNextWord) {
            ++index;
        }
    }
    return true;
}

std::string Options::valueError(const Definition& def, std::string_view spelled,
                                 std::string_view value) const {
    if (def.type != Type::Integer && def.type != Type::Double) {
        return {};
    }
    const std::string prefix = "Error: option " + std::string(spelled);
    const auto number = scanWholeNumber(value, kOptionNumber);
    if (!number) {
        return prefix + " expects a number, got " + quoted(value);
    }
    if (def.type == Type::Integer && !number->integral) {
        return prefix + " expects an integer, got " + quoted(value);
    }
    const bool fits = def.type == Type::Integer ? number->toInt().has_value() : std::isfinite(number->real);
    if (!fits) {
        return prefix + " value " + quoted(value) + " is out of range";
    }
    return {};
}

bool Options::assignValue(Definition& def, std::string_view spelled, std::string_view value) {
    std::string problem = valueError(def, spelled, value);
    if (!problem.empty()) {
        return fail(std::move(problem));
    }
    def.given = true;
    def.value = std::string(value);
    return true;
}

std::string_view Options::effectiveText(const Definition& def) const {
    if (def.given) {
        return def.value;
    }
    if (def.defaultValue) {
        return *def.defaultValue;
    }
    return {};
}

bool Options::getBoolean(std::string_view name) const {
    const Definition* def = find(name);
    return def != nullptr && def->given;
}

int Options::getInteger(std::string_view name) const {
    const Definition* def = find(name);
    if (def == nullptr) {
        return 0;
    }
    const ScannedNumber number = scanNumber(effectiveText(*def), kOptionNumber);
    if (const std::optional<long long> value = number.integer()) {
        return clampToInt(*value);
    }
    return clampToInt(number.real);
}

double Options::getDouble(std::string_view name) const {
    const Definition* def = find(name);
    if (def == nullptr) {
        return 0.0;
    }
    return scanNumber(effectiveText(*def), kOptionNumber).real;
}

std::string Options::getString(std::string_view name) const {
    const Definition* def = find(name);
    return def == nullptr ? std::string() : std::string(effectiveText(*def));
}

int Options::getArgCount() const { return static_cast<int>(m_arguments.size()); }

std::string Options::getArg(int index) const {
    if (index < 1 || index > getArgCount()) {
        return {};
    }
    return m_arguments[static_cast<std::size_t>(index - 1)];
}

std::string Options::listing() const {
    struct Row {
        std::string names;
        std::string kind;
        std::string help;
    };
    std::vector<Row> rows;
    rows.reserve(m_definitions.size());
    std::size_t namesWidth = 0;
    std::size_t kindWidth = 0;
    for (const auto& def : m_definitions) {
        Row row;
        for (const auto& name : def.names) {
            if (!row.names.empty()) {
                row.names += ", ";
            }
            row.names += (name.size() == 1 ? "-" : "--") + name;
        }
        switch (def.type) {
        case Type::Boolean: row.kind = "boolean"; break;
        case Type::Integer: row.kind = "integer"; break;
        case Type::Double: row.kind = "double"; break;
        case Type::String: row.kind = "string"; break;
        }
        if (def.defaultValue) {
            row.kind += ", default ";
            row.kind += def.type == Type::String ? quoted(*def.defaultValue) : *def.defaultValue;
        } else if (def.type != Type::Boolean) {
            row.kind += ", no default";
        }
        row.help = def.help;
        namesWidth = std::max(namesWidth, row.names.size());
        kindWidth = std::max(kindWidth, row.kind.size());
        rows.push_back(std::move(row));
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line = row.names;
        line.append(namesWidth - row.names.size() + 2, ' ');
        line += row.kind;
        if (!row.help.empty()) {
            line.append(kindWidth - row.kind.size() + 2, ' ');
            line += row.help;
        }
        out += line;
        out += '\n';
    }
    return out;
}

}  // namespace smf
