// The UI driver's line protocol: one command per line in, one JSON object per
// line out. Portable, so the native tests can check it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tarvo::uidriver {

// A parsed command: `name --option value --option value ...`.
struct Command {
    std::string name;
    std::map<std::string, std::string> options;

    bool Has(const std::string& key) const { return options.count(key) != 0; }
    std::string Get(const std::string& key, const std::string& fallback = "") const;
    // A decimal or 0x-prefixed integer; `ok` turns false on a malformed value.
    long long GetInt(const std::string& key, long long fallback, bool* ok) const;
};

// Splits a line into words: blanks separate, double quotes group, and inside
// quotes \" \\ \n \r \t are escapes. Returns 0 with `error` set on an
// unterminated quote.
int SplitWords(const std::string& line, std::vector<std::string>* words, std::string* error);

// Words to a Command: the first is the name, the rest `--key value` pairs
// (every option takes a value). Returns 0 with `error` set otherwise.
int ParseCommand(const std::vector<std::string>& words, Command* command, std::string* error);

// Quotes a word so that SplitWords gives it back unchanged.
std::string QuoteWord(const std::string& word);

// One reply line under construction: {"ok":true,...}. Values are UTF-8.
class JsonObject {
public:
    JsonObject& Add(const std::string& key, const std::string& value);
    JsonObject& Add(const std::string& key, const char* value) { return Add(key, std::string(value)); }
    JsonObject& Add(const std::string& key, long long value);
    JsonObject& Add(const std::string& key, int value) { return Add(key, static_cast<long long>(value)); }
    JsonObject& Add(const std::string& key, unsigned long value) { return Add(key, static_cast<long long>(value)); }
    JsonObject& AddBool(const std::string& key, bool value);
    // `json` must already be valid JSON (an object or an array).
    JsonObject& AddRaw(const std::string& key, const std::string& json);
    std::string Text() const { return "{" + body_ + "}"; }

private:
    void Key(const std::string& key);
    std::string body_;
};

// A JSON array of already encoded values.
std::string JsonArray(const std::vector<std::string>& items);
std::string JsonString(const std::string& utf8);

}  // namespace tarvo::uidriver
