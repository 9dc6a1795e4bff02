#include "core/api/OpenAPIDocument.h"

#include <QtGlobal>

// The platform this build runs on, as the description names it.
#if defined(Q_OS_LINUX)
#define QUILLORA_PLATFORM_NAME "Linux"
#elif defined(Q_OS_FREEBSD)
#define QUILLORA_PLATFORM_NAME "FreeBSD"
#else
#define QUILLORA_PLATFORM_NAME "Unix"
#endif

namespace {

// Everything up to the port of the server entry.
const char head[] = R"JSON({
  "openapi": "3.0.3",
  "info": {
    "title": "Quillora API",
    "description": "HTTP API for controlling Quillora - a )JSON" QUILLORA_PLATFORM_NAME R"JSON( OCR text capture app",
    "version": "1.0.0",
    "contact": { "name": "Quillora" }
  },
  "servers": [
    { "url": "http://localhost:)JSON";

// Everything after the port.
const char tail[] = R"JSON(", "description": "Local server" }
  ],
  "security": [
    {},
    { "BearerAuth": [] }
  ],
  "paths": {
    "/status": {
      "get": {
        "summary": "Get server status",
        "tags": ["Status"],
        "responses": {
          "200": {
            "description": "Server status",
            "content": {
              "application/json": {
                "schema": {
                  "type": "object",
                  "properties": {
                    "app": { "type": "string", "example": "Quillora" },
                    "version": { "type": "string", "example": "1.0" },
                    "status": { "type": "string", "example": "running" },
                    "historyCount": { "type": "integer", "example": 5 },
                    "sidebarVisible": { "type": "boolean" },
                    "apiPort": { "type": "integer", "example": 9876 }
                  }
                }
              }
            }
          }
        }
      }
    },
    "/capture": {
      "get": {
        "summary": "Start text capture",
        "description": "Initiates text capture mode (same as pressing the global hotkey)",
        "tags": ["Capture"],
        "responses": {
          "200": {
            "description": "Capture initiated",
            "content": {
              "application/json": {
                "schema": { "$ref": "#/components/schemas/SuccessResponse" }
              }
            }
          }
        }
      }
    },
    "/history": {
      "get": {
        "summary": "Get all history entries",
        "tags": ["History"],
        "responses": {
          "200": {
            "description": "List of history entries",
            "content": {
              "application/json": {
                "schema": {
                  "type": "object",
                  "properties": {
                    "entries": {
                      "type": "array",
                      "items": { "$ref": "#/components/schemas/HistoryEntry" }
                    },
                    "count": { "type": "integer" }
                  }
                }
              }
            }
          }
        }
      },
      "post": {
        "summary": "Add history entry",
        "tags": ["History"],
        "requestBody": {
          "required": true,
          "content": {
            "application/json": {
              "schema": {
                "type": "object",
                "required": ["text"],
                "properties": {
                  "text": { "type": "string", "description": "Text to add" },
                  "displayName": { "type": "string", "description": "Optional display name" }
                }
              }
            }
          }
        },
        "responses": {
          "201": { "description": "Entry added" }
        }
      },
      "delete": {
        "summary": "Clear all history",
        "tags": ["History"],
        "responses": {
          "200": { "description": "History cleared" }
        }
      }
    },
    "/history/{id}": {
      "delete": {
        "summary": "Delete history entry",
        "tags": ["History"],
        "parameters": [
          {
            "name": "id",
            "in": "path",
            "required": true,
            "schema": { "type": "string", "format": "uuid" }
          }
        ],
        "responses": {
          "200": { "description": "Entry deleted" },
          "404": { "description": "Entry not found" }
        }
      }
    },
    "/settings": {
      "get": {
        "summary": "Get current settings",
        "tags": ["Settings"],
        "responses": {
          "200": {
            "description": "Current settings",
            "content": {
              "application/json": {
                "schema": { "$ref": "#/components/schemas/Settings" }
              }
            }
          }
        }
      },
      "put": {
        "summary": "Update settings",
        "tags": ["Settings"],
        "requestBody": {
          "content": {
            "application/json": {
              "schema": { "$ref": "#/components/schemas/Settings" }
            }
          }
        },
        "responses": {
          "200": { "description": "Settings updated" }
        }
      }
    },
    "/sidebar": {
      "get": {
        "summary": "Get sidebar visibility state",
        "tags": ["Sidebar"],
        "responses": {
          "200": {
            "description": "Sidebar state",
            "content": {
              "application/json": {
                "schema": {
                  "type": "object",
                  "properties": {
                    "visible": { "type": "boolean" }
                  }
                }
              }
            }
          }
        }
      }
    },
    "/sidebar/show": {
      "post": {
        "summary": "Show sidebar",
        "tags": ["Sidebar"],
        "responses": {
          "200": { "description": "Sidebar shown" }
        }
      }
    },
    "/sidebar/hide": {
      "post": {
        "summary": "Hide sidebar",
        "tags": ["Sidebar"],
        "responses": {
          "200": { "description": "Sidebar hidden" }
        }
      }
    },
    "/sidebar/toggle": {
      "post": {
        "summary": "Toggle sidebar visibility",
        "tags": ["Sidebar"],
        "responses": {
          "200": {
            "description": "Sidebar toggled",
            "content": {
              "application/json": {
                "schema": {
                  "type": "object",
                  "properties": {
                    "success": { "type": "boolean" },
                    "visible": { "type": "boolean" }
                  }
                }
              }
            }
          }
        }
      }
    },
    "/quit": {
      "post": {
        "summary": "Quit Quillora",
        "tags": ["App Control"],
        "responses": {
          "200": { "description": "App quitting" }
        }
      }
    }
  },
  "components": {
    "securitySchemes": {
      "BearerAuth": {
        "type": "http",
        "scheme": "bearer",
        "description": "Optional API token (set in Preferences)"
      }
    },
    "schemas": {
      "SuccessResponse": {
        "type": "object",
        "properties": {
          "success": { "type": "boolean" },
          "message": { "type": "string" }
        }
      },
      "HistoryEntry": {
        "type": "object",
        "properties": {
          "id": { "type": "string", "format": "uuid" },
          "text": { "type": "string" },
          "displayName": { "type": "string" },
          "timestamp": { "type": "string", "format": "date-time" }
        }
      },
      "Settings": {
        "type": "object",
        "properties": {
          "historyEnabled": { "type": "boolean" },
          "historyMaxEntries": { "type": "integer" },
          "historyAutoDeleteDays": { "type": "integer" },
          "removeLineBreaks": { "type": "boolean" },
          "cleanupWhitespace": { "type": "boolean" },
          "fixHyphenation": { "type": "boolean" },
          "copyToPrimarySelection": { "type": "boolean", "description": "the captured text is also what a middle click pastes" },
          "apiEnabled": { "type": "boolean" },
          "apiPort": { "type": "integer" }
        }
      }
    }
  },
  "tags": [
    { "name": "Status", "description": "Server status" },
    { "name": "Capture", "description": "Text capture" },
    { "name": "History", "description": "Capture history management" },
    { "name": "Settings", "description": "App settings" },
    { "name": "Sidebar", "description": "History sidebar control" },
    { "name": "App Control", "description": "Application control" }
  ]
}
)JSON";

} // namespace

QString OpenAPIDocument::text(quint16 port)
{
    return QString::fromLatin1(head) + QString::number(port) + QString::fromLatin1(tail);
}
