// The validator every document test relies on: it must reject what the
// schema forbids, or the schema tests would pass on anything.
#include "support/json_schema.h"

#include <gtest/gtest.h>

namespace torvi::testing {
namespace {

using nlohmann::json;

const json kSchema = json::parse(R"({
  "$defs": {
    "na": {"type": "string", "pattern": "^NA: "},
    "value": {"anyOf": [{"type": "number"}, {"$ref": "#/$defs/na"}]},
    "pair": {"type": "array", "minItems": 2, "maxItems": 2, "items": {"type": "integer", "minimum": 1, "maximum": 9}}
  },
  "type": "object",
  "required": ["kind", "value"],
  "properties": {
    "kind": {"enum": ["a", "b"]},
    "version": {"const": 1},
    "value": {"$ref": "#/$defs/value"},
    "pair": {"$ref": "#/$defs/pair"},
    "either": {"oneOf": [{"type": "integer"}, {"type": "number", "minimum": 0}]},
    "open": {"type": "object", "additionalProperties": {"type": "boolean"}}
  },
  "additionalProperties": false
})");

size_t problems(const std::string& doc) { return validate_json(kSchema, json::parse(doc)).size(); }

TEST(SchemaValidator, AcceptsDocumentsThatFollowTheSchema) {
  EXPECT_EQ(problems(R"({"kind": "a", "value": 0.5})"), 0u);
  EXPECT_EQ(problems(R"({"kind": "b", "value": "NA: monomorphic", "version": 1, "pair": [1, 9],
                         "either": 2.5, "open": {"x": true, "y": false}})"),
            0u);
}

TEST(SchemaValidator, RejectsEachKindOfViolation) {
  EXPECT_EQ(problems(R"({"kind": "a"})"), 1u) << "missing required member";
  EXPECT_EQ(problems(R"({"kind": "c", "value": 1})"), 1u) << "not in enum";
  EXPECT_EQ(problems(R"({"kind": "a", "value": 1, "version": 2})"), 1u) << "const";
  EXPECT_EQ(problems(R"({"kind": "a", "value": "0.5"})"), 1u) << "a string that is not NA";
  EXPECT_EQ(problems(R"({"kind": "a", "value": 1, "extra": 1})"), 1u) << "additional member";
  EXPECT_EQ(problems(R"({"kind": "a", "value": 1, "pair": [1]})"), 1u) << "too few items";
  EXPECT_EQ(problems(R"({"kind": "a", "value": 1, "pair": [1, 2, 3]})"), 1u) << "too many items";
  EXPECT_EQ(problems(R"({"kind": "a", "value": 1, "pair": [0, 10]})"), 2u) << "minimum and maximum";
  EXPECT_EQ(problems(R"({"kind": "a", "value": 1, "pair": [1, 2.5]})"), 1u) << "a real is not an integer";
  EXPECT_EQ(problems(R"({"kind": "a", "value": 1, "either": 3})"), 1u) << "matches both choices of oneOf";
  EXPECT_EQ(problems(R"({"kind": "a", "value": 1, "open": {"x": 1}})"), 1u) << "additionalProperties schema";
  EXPECT_EQ(problems(R"([1])"), 1u) << "wrong type at the top";
}

TEST(SchemaValidator, ProblemsNameWhereTheyAre) {
  const auto p = validate_json(kSchema, json::parse(R"({"kind": "a", "value": 1, "pair": [1, 20]})"));
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].rfind("/pair/1: ", 0), 0u) << p[0];
}

TEST(SchemaValidator, KeywordsItCannotCheckAreReportedNotSkipped) {
  const json schema = json::parse(R"({"type": "string", "maxLength": 3})");
  const auto p = validate_json(schema, json("abcdef"));
  ASSERT_EQ(p.size(), 1u);
  EXPECT_NE(p[0].find("maxLength"), std::string::npos);
}

TEST(SchemaValidator, TheDocumentsSchemaUsesOnlyWhatTheValidatorChecks) {
  EXPECT_EQ(unsupported_keywords(json::parse(R"({"properties": {"a": {"items": {"maxLength": 3}}}})")),
            std::vector<std::string>{"/properties/a/items/maxLength"});
  EXPECT_EQ(unsupported_keywords(documents_schema()), std::vector<std::string>{});
}

}  // namespace
}  // namespace torvi::testing
