#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace torvi::testing {

// A validator for the part of JSON Schema (2020-12) the documents' schema
// uses: $ref to "#/$defs/...", type, enum, const, properties, required,
// additionalProperties, items, minItems, maxItems, minimum, maximum, pattern,
// anyOf, oneOf; title, description and $schema/$id/$defs are read as notes.
// Any other keyword in the schema is reported, so that the schema never
// relies on a check that is silently skipped.
//
// Returns the problems found, each naming where in the document
// ("/files/0/loci/2/name: ..."); empty when the document is valid.
std::vector<std::string> validate_json(const nlohmann::json& schema, const nlohmann::json& doc);

// Keywords of `schema`, at any depth, that validate_json cannot check.
std::vector<std::string> unsupported_keywords(const nlohmann::json& schema);

// docs/torvi.schema.json.
nlohmann::json documents_schema();

// The problems of `text` (a whole document as written) against the
// documents' schema, or the parse error.
std::vector<std::string> schema_problems(const std::string& text);

}  // namespace torvi::testing
