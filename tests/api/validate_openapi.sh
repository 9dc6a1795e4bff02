#!/usr/bin/env bash
# Validates the OpenAPI document the server serves with a real OpenAPI 3.0 validator, and checks that it
# documents exactly the expected paths and methods.
#
#   validate_openapi.sh <quillora_openapi_document> <work folder>
set -euo pipefail
print_document=$1
work=$2
validator_version=10.1.1

if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "validate_openapi.sh: node and npm are needed (Debian: apt-get install nodejs npm)" >&2
    exit 1
fi

mkdir -p "$work"
if ! grep -qs "\"version\": \"$validator_version\"" "$work/node_modules/@apidevtools/swagger-parser/package.json"; then
    (cd "$work" && npm install --no-audit --no-fund --silent --no-save "@apidevtools/swagger-parser@$validator_version")
fi

port=4321
"$print_document" "$port" > "$work/openapi.json"

cd "$work"
node - "$work/openapi.json" "$port" <<'JS'
const SwaggerParser = require("@apidevtools/swagger-parser");
const fs = require("fs");
const [file, port] = process.argv.slice(2);
const expected = [
  "GET /status", "GET /capture", "GET /history", "POST /history", "DELETE /history", "DELETE /history/{id}",
  "GET /settings", "PUT /settings", "GET /sidebar", "POST /sidebar/show", "POST /sidebar/hide",
  "POST /sidebar/toggle", "GET /sidebar/screenshot", "GET /screen", "GET /screenshot", "GET /windows",
  "GET /mouse/position", "POST /mouse/move", "POST /mouse/click", "POST /mouse/drag", "POST /keyboard/type",
  "POST /keyboard/key", "POST /keyboard/hotkey", "POST /quit",
];
(async () => {
  const document = JSON.parse(fs.readFileSync(file, "utf8"));
  const api = await SwaggerParser.validate(document);
  const methods = ["get", "put", "post", "delete", "options", "head", "patch", "trace"];
  const served = Object.entries(api.paths).flatMap(([path, item]) =>
    methods.filter((method) => item[method]).map((method) => `${method.toUpperCase()} ${path}`));
  const missing = expected.filter((e) => !served.includes(e));
  const extra = served.filter((s) => !expected.includes(s));
  if (missing.length || extra.length) {
    console.error("paths differ; missing:", missing, "extra:", extra);
    process.exit(1);
  }
  if (api.openapi !== "3.0.3" || api.servers[0].url !== `http://localhost:${port}`) {
    console.error("unexpected version or server entry:", api.openapi, api.servers);
    process.exit(1);
  }
  console.log(`OpenAPI ${api.openapi} document is valid: ${served.length} operations on ${Object.keys(api.paths).length} paths`);
})().catch((error) => {
  console.error("invalid OpenAPI document:", error.message);
  process.exit(1);
});
JS
