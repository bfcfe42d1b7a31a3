#include "support/json_schema.h"

#include <fstream>
#include <regex>
#include <set>

namespace torvi::testing {

namespace {

using nlohmann::json;

const std::set<std::string> kKnown = {"$schema", "$id",      "$defs",      "$ref",     "title",
                                      "description", "type", "enum",       "const",    "properties",
                                      "required", "additionalProperties", "items", "minItems", "maxItems",
                                      "minimum",  "maximum",  "pattern",    "anyOf",    "oneOf"};

class Validator {
 public:
  explicit Validator(const json& root) : root_(root) {}

  void check(const json& schema, const json& doc, const std::string& where) {
    if (schema.is_boolean()) {
      if (!schema.get<bool>()) fail(where, "no value is allowed here");
      return;
    }
    for (auto it = schema.begin(); it != schema.end(); ++it)
      if (!kKnown.count(it.key())) fail(where, "schema keyword not supported by the validator: " + it.key());
    if (schema.contains("$ref")) check(resolve(schema["$ref"].get<std::string>()), doc, where);
    if (schema.contains("type") && !type_matches(schema["type"], doc))
      fail(where, "expected type " + schema["type"].dump() + ", found " + doc.dump().substr(0, 60));
    check_values(schema, doc, where);
    if (doc.is_object()) check_object(schema, doc, where);
    if (doc.is_array()) check_array(schema, doc, where);
    if (schema.contains("anyOf") && count_matching(schema["anyOf"], doc, where) == 0)
      fail(where, "matches no choice of anyOf; nearest: " + nearest_);
    if (schema.contains("oneOf")) {
      const int n = count_matching(schema["oneOf"], doc, where);
      if (n != 1) fail(where, "matches " + std::to_string(n) + " choices of oneOf instead of one" +
                                  (n == 0 ? "; nearest: " + nearest_ : ""));
    }
  }

  std::vector<std::string> problems;

 private:
  void fail(const std::string& where, const std::string& what) {
    problems.push_back((where.empty() ? "/" : where) + ": " + what);
  }

  const json& resolve(const std::string& ref) {
    const std::string prefix = "#/$defs/";
    if (ref.rfind(prefix, 0) != 0 || !root_["$defs"].contains(ref.substr(prefix.size())))
      throw std::runtime_error("unresolvable $ref " + ref);
    return root_["$defs"][ref.substr(prefix.size())];
  }

  static bool one_type(const std::string& t, const json& doc) {
    if (t == "object") return doc.is_object();
    if (t == "array") return doc.is_array();
    if (t == "string") return doc.is_string();
    if (t == "integer") return doc.is_number_integer();
    if (t == "number") return doc.is_number();
    if (t == "boolean") return doc.is_boolean();
    if (t == "null") return doc.is_null();
    throw std::runtime_error("unknown type " + t);
  }

  static bool type_matches(const json& type, const json& doc) {
    if (type.is_string()) return one_type(type.get<std::string>(), doc);
    for (const json& t : type)
      if (one_type(t.get<std::string>(), doc)) return true;
    return false;
  }

  void check_values(const json& schema, const json& doc, const std::string& where) {
    if (schema.contains("const") && doc != schema["const"]) fail(where, "expected " + schema["const"].dump());
    if (schema.contains("enum") && std::find(schema["enum"].begin(), schema["enum"].end(), doc) == schema["enum"].end())
      fail(where, doc.dump() + " is not one of " + schema["enum"].dump());
    if (doc.is_number()) {
      if (schema.contains("minimum") && doc.get<double>() < schema["minimum"].get<double>())
        fail(where, doc.dump() + " below the minimum " + schema["minimum"].dump());
      if (schema.contains("maximum") && doc.get<double>() > schema["maximum"].get<double>())
        fail(where, doc.dump() + " above the maximum " + schema["maximum"].dump());
    }
    if (doc.is_string() && schema.contains("pattern") &&
        !std::regex_search(doc.get<std::string>(), std::regex(schema["pattern"].get<std::string>())))
      fail(where, doc.dump() + " does not match " + schema["pattern"].dump());
  }

  void check_object(const json& schema, const json& doc, const std::string& where) {
    if (schema.contains("required"))
      for (const json& name : schema["required"])
        if (!doc.contains(name.get<std::string>())) fail(where, "missing member " + name.dump());
    const json properties = schema.value("properties", json::object());
    for (auto it = doc.begin(); it != doc.end(); ++it) {
      const std::string at = where + "/" + it.key();
      if (properties.contains(it.key()))
        check(properties[it.key()], it.value(), at);
      else if (schema.contains("additionalProperties"))
        check(schema["additionalProperties"], it.value(), at);
    }
  }

  void check_array(const json& schema, const json& doc, const std::string& where) {
    if (schema.contains("minItems") && doc.size() < schema["minItems"].get<size_t>())
      fail(where, "fewer than " + schema["minItems"].dump() + " items");
    if (schema.contains("maxItems") && doc.size() > schema["maxItems"].get<size_t>())
      fail(where, "more than " + schema["maxItems"].dump() + " items");
    if (schema.contains("items"))
      for (size_t i = 0; i < doc.size(); ++i) check(schema["items"], doc[i], where + "/" + std::to_string(i));
  }

  // How many choices `doc` satisfies; nearest_ keeps the first problem of
  // the choice that came closest, to say why none matched.
  int count_matching(const json& choices, const json& doc, const std::string& where) {
    int n = 0;
    size_t fewest = SIZE_MAX;
    for (const json& choice : choices) {
      Validator trial(root_);
      trial.check(choice, doc, where);
      if (trial.problems.empty()) ++n;
      if (!trial.problems.empty() && trial.problems.size() < fewest) {
        fewest = trial.problems.size();
        nearest_ = trial.problems.front();
      }
    }
    return n;
  }

  const json& root_;
  std::string nearest_;
};

void collect_unsupported(const json& schema, const std::string& where, std::vector<std::string>& out) {
  if (!schema.is_object()) return;
  for (auto it = schema.begin(); it != schema.end(); ++it) {
    const std::string& key = it.key();
    const std::string at = where + "/" + key;
    if (!kKnown.count(key)) out.push_back(at);
    if (key == "$defs" || key == "properties")
      for (auto sub = it->begin(); sub != it->end(); ++sub) collect_unsupported(*sub, at + "/" + sub.key(), out);
    if (key == "items" || key == "additionalProperties") collect_unsupported(*it, at, out);
    if (key == "anyOf" || key == "oneOf")
      for (size_t i = 0; i < it->size(); ++i) collect_unsupported((*it)[i], at + "/" + std::to_string(i), out);
  }
}

}  // namespace

std::vector<std::string> unsupported_keywords(const nlohmann::json& schema) {
  std::vector<std::string> out;
  collect_unsupported(schema, "", out);
  return out;
}

std::vector<std::string> validate_json(const nlohmann::json& schema, const nlohmann::json& doc) {
  Validator v(schema);
  v.check(schema, doc, "");
  return v.problems;
}

nlohmann::json documents_schema() {
  std::ifstream in(std::string(TORVI_DOCS_DIR) + "/torvi.schema.json");
  if (!in) throw std::runtime_error("cannot read docs/torvi.schema.json");
  return nlohmann::json::parse(in);
}

std::vector<std::string> schema_problems(const std::string& text) {
  try {
    return validate_json(documents_schema(), nlohmann::json::parse(text));
  } catch (const nlohmann::json::exception& e) {
    return {std::string("not JSON: ") + e.what()};
  }
}

}  // namespace torvi::testing
