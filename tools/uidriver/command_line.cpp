#include "command_line.h"

#include <cstdio>
#include <cstdlib>

namespace tarvo::uidriver {

std::string Command::Get(const std::string& key, const std::string& fallback) const {
    auto it = options.find(key);
    return it == options.end() ? fallback : it->second;
}

long long Command::GetInt(const std::string& key, long long fallback, bool* ok) const {
    auto it = options.find(key);
    if (it == options.end()) return fallback;
    const std::string& text = it->second;
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 0);
    if (text.empty() || end == nullptr || *end != '\0') {
        *ok = false;
        return fallback;
    }
    return value;
}

int SplitWords(const std::string& line, std::vector<std::string>* words, std::string* error) {
    words->clear();
    size_t i = 0;
    const size_t n = line.size();
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n')) ++i;
        if (i >= n) break;
        std::string word;
        bool inWord = true;
        while (i < n && inWord) {
            char c = line[i];
            if (c == '"') {
                ++i;
                bool closed = false;
                while (i < n) {
                    char q = line[i++];
                    if (q == '"') {
                        closed = true;
                        break;
                    }
                    if (q == '\\' && i < n) {
                        char e = line[i++];
                        switch (e) {
                            case 'n': word += '\n'; break;
                            case 'r': word += '\r'; break;
                            case 't': word += '\t'; break;
                            default: word += e; break;
                        }
                    } else {
                        word += q;
                    }
                }
                if (!closed) {
                    *error = "unterminated quote";
                    return 0;
                }
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                inWord = false;
            } else {
                word += c;
                ++i;
            }
        }
        words->push_back(word);
    }
    return 1;
}

int ParseCommand(const std::vector<std::string>& words, Command* command, std::string* error) {
    command->name.clear();
    command->options.clear();
    if (words.empty()) {
        *error = "empty command";
        return 0;
    }
    command->name = words[0];
    for (size_t i = 1; i < words.size(); i += 2) {
        const std::string& key = words[i];
        if (key.size() < 3 || key.compare(0, 2, "--") != 0) {
            *error = "expected an option (--name value), got '" + key + "'";
            return 0;
        }
        if (i + 1 >= words.size()) {
            *error = "option " + key + " has no value";
            return 0;
        }
        command->options[key.substr(2)] = words[i + 1];
    }
    return 1;
}

std::string QuoteWord(const std::string& word) {
    std::string out = "\"";
    for (char c : word) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c; break;
        }
    }
    return out + "\"";
}

std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string JsonArray(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out += ",";
        out += items[i];
    }
    return out + "]";
}

void JsonObject::Key(const std::string& key) {
    if (!body_.empty()) body_ += ",";
    body_ += JsonString(key) + ":";
}

JsonObject& JsonObject::Add(const std::string& key, const std::string& value) {
    Key(key);
    body_ += JsonString(value);
    return *this;
}

JsonObject& JsonObject::Add(const std::string& key, long long value) {
    Key(key);
    body_ += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::AddBool(const std::string& key, bool value) {
    Key(key);
    body_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::AddRaw(const std::string& key, const std::string& json) {
    Key(key);
    body_ += json;
    return *this;
}

}  // namespace tarvo::uidriver
