#!/usr/bin/env bash
# Validates the served OpenAPI document with a real OpenAPI 3.0 validator, and checks its server entry.
#   validate_openapi.sh <quillora_openapi_document> <work folder>   (needs node and npm)
set -euo pipefail
print_document=$1
work=$2
validator_version=10.1.1

mkdir -p "$work"
if ! grep -qs "\"version\": \"$validator_version\"" "$work/node_modules/@apidevtools/swagger-parser/package.json"; then
    (cd "$work" && npm install --no-audit --no-fund --silent --no-save "@apidevtools/swagger-parser@$validator_version")
fi

port=4321
"$print_document" "$port" > "$work/openapi.json"

cd "$work"
node - "$work/openapi.json" "$port" <<'JS'
const SwaggerParser = require("@apidevtools/swagger-parser");
const [file, port] = process.argv.slice(2);
(async () => {
  const api = await SwaggerParser.validate(JSON.parse(require("fs").readFileSync(file, "utf8")));
  if (api.servers[0].url !== `http://localhost:${port}`) {
    console.error("wrong server:", api.servers);
    process.exit(1);
  }
  console.log(`OpenAPI ${api.openapi} document is valid: ${Object.keys(api.paths).length} paths`);
})().catch((error) => {
  console.error("invalid OpenAPI document:", error.message);
  process.exit(1);
});
JS
