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
    "/sidebar/screenshot": {
      "get": {
        "summary": "Get sidebar screenshot",
        "tags": ["Sidebar", "Screenshots"],
        "parameters": [
          {
            "name": "maxSize",
            "in": "query",
            "description": "Maximum dimension in pixels",
            "schema": { "type": "integer" }
          }
        ],
        "responses": {
          "200": {
            "description": "PNG image",
            "content": { "image/png": {} }
          },
          "404": { "description": "Sidebar not visible" }
        }
      }
    },
    "/screen": {
      "get": {
        "summary": "Capture full screen",
        "description": "Requires Screen Recording permission",
        "tags": ["Screenshots"],
        "parameters": [
          {
            "name": "maxSize",
            "in": "query",
            "description": "Maximum dimension in pixels",
            "schema": { "type": "integer" }
          }
        ],
        "responses": {
          "200": {
            "description": "PNG image",
            "content": { "image/png": {} }
          }
        }
      }
    },
    "/screenshot": {
      "get": {
        "summary": "Capture app windows",
        "tags": ["Screenshots"],
        "parameters": [
          {
            "name": "maxSize",
            "in": "query",
            "schema": { "type": "integer" }
          }
        ],
        "responses": {
          "200": {
            "description": "PNG image",
            "content": { "image/png": {} }
          }
        }
      }
    },
    "/windows": {
      "get": {
        "summary": "List app windows",
        "tags": ["Windows"],
        "responses": {
          "200": {
            "description": "List of windows",
            "content": {
              "application/json": {
                "schema": {
                  "type": "object",
                  "properties": {
                    "windows": {
                      "type": "array",
                      "items": { "$ref": "#/components/schemas/Window" }
                    },
                    "count": { "type": "integer" }
                  }
                }
              }
            }
          }
        }
      }
    },
    "/mouse/position": {
      "get": {
        "summary": "Get mouse position",
        "tags": ["Mouse"],
        "responses": {
          "200": {
            "description": "Current mouse position",
            "content": {
              "application/json": {
                "schema": {
                  "type": "object",
                  "properties": {
                    "position": { "$ref": "#/components/schemas/Position" }
                  }
                }
              }
            }
          }
        }
      }
    },
    "/mouse/move": {
      "post": {
        "summary": "Move mouse cursor",
        "description": "Requires Accessibility permission",
        "tags": ["Mouse"],
        "requestBody": {
          "content": {
            "application/json": {
              "schema": {
                "type": "object",
                "required": ["x", "y"],
                "properties": {
                  "x": { "type": "number" },
                  "y": { "type": "number" },
                  "duration": { "type": "number", "description": "Animation duration in seconds" },
                  "steps": { "type": "integer", "description": "Number of animation steps" }
                }
              }
            }
          }
        },
        "responses": {
          "200": { "description": "Mouse moved" },
          "403": { "description": "Accessibility permission required" }
        }
      }
    },
    "/mouse/click": {
      "post": {
        "summary": "Perform mouse click",
        "description": "Requires Accessibility permission",
        "tags": ["Mouse"],
        "requestBody": {
          "content": {
            "application/json": {
              "schema": {
                "type": "object",
                "properties": {
                  "x": { "type": "number" },
                  "y": { "type": "number" },
                  "button": { "type": "string", "enum": ["left", "right", "middle"], "default": "left" },
                  "count": { "type": "integer", "default": 1 },
                  "modifiers": {
                    "type": "array",
                    "items": { "type": "string", "enum": ["shift", "control", "option", "command"] }
                  }
                }
              }
            }
          }
        },
        "responses": {
          "200": { "description": "Click performed" },
          "403": { "description": "Accessibility permission required" }
        }
      }
    },
    "/mouse/drag": {
      "post": {
        "summary": "Perform mouse drag",
        "description": "Requires Accessibility permission",
        "tags": ["Mouse"],
        "requestBody": {
          "content": {
            "application/json": {
              "schema": {
                "type": "object",
                "required": ["fromX", "fromY", "toX", "toY"],
                "properties": {
                  "fromX": { "type": "number" },
                  "fromY": { "type": "number" },
                  "toX": { "type": "number" },
                  "toY": { "type": "number" },
                  "duration": { "type": "number", "default": 0.5 },
                  "steps": { "type": "integer", "default": 20 },
                  "button": { "type": "string", "enum": ["left", "right"], "default": "left" }
                }
              }
            }
          }
        },
        "responses": {
          "200": { "description": "Drag performed" },
          "403": { "description": "Accessibility permission required" }
        }
      }
    },
    "/keyboard/type": {
      "post": {
        "summary": "Type text",
        "description": "Requires Accessibility permission",
        "tags": ["Keyboard"],
        "requestBody": {
          "content": {
            "application/json": {
              "schema": {
                "type": "object",
                "required": ["text"],
                "properties": {
                  "text": { "type": "string" },
                  "delay": { "type": "integer", "description": "Delay between characters in ms", "default": 10 }
                }
              }
            }
          }
        },
        "responses": {
          "200": { "description": "Text typed" },
          "403": { "description": "Accessibility permission required" }
        }
      }
    },
    "/keyboard/key": {
      "post": {
        "summary": "Press a key",
        "description": "Requires Accessibility permission",
        "tags": ["Keyboard"],
        "requestBody": {
          "content": {
            "application/json": {
              "schema": {
                "type": "object",
                "required": ["key"],
                "properties": {
                  "key": {
                    "type": "string",
                    "description": "Key name (a-z, 0-9, return, tab, space, escape, f1-f12, etc.)"
                  },
                  "modifiers": {
                    "type": "array",
                    "items": { "type": "string", "enum": ["shift", "control", "option", "command"] }
                  }
                }
              }
            }
          }
        },
        "responses": {
          "200": { "description": "Key pressed" },
          "403": { "description": "Accessibility permission required" }
        }
      }
    },
    "/keyboard/hotkey": {
      "post": {
        "summary": "Press a hotkey combination",
        "description": "Requires Accessibility permission. Last key is the main key, others are modifiers.",
        "tags": ["Keyboard"],
        "requestBody": {
          "content": {
            "application/json": {
              "schema": {
                "type": "object",
                "required": ["keys"],
                "properties": {
                  "keys": {
                    "type": "array",
                    "items": { "type": "string" },
                    "example": ["command", "shift", "s"]
                  }
                }
              }
            }
          }
        },
        "responses": {
          "200": { "description": "Hotkey pressed" },
          "403": { "description": "Accessibility permission required" }
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
          "apiEnabled": { "type": "boolean" },
          "apiPort": { "type": "integer" }
        }
      },
      "Window": {
        "type": "object",
        "properties": {
          "title": { "type": "string" },
          "type": {
            "type": "string",
            "enum": ["sidebar", "textEditor", "preferences", "captureOverlay", "other"]
          },
          "frame": {
            "type": "object",
            "properties": {
              "x": { "type": "number" },
              "y": { "type": "number" },
              "width": { "type": "number" },
              "height": { "type": "number" }
            }
          },
          "isKey": { "type": "boolean" },
          "isMain": { "type": "boolean" },
          "level": { "type": "integer" }
        }
      },
      "Position": {
        "type": "object",
        "properties": {
          "x": { "type": "number" },
          "y": { "type": "number" }
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
    { "name": "Screenshots", "description": "Screen capture" },
    { "name": "Windows", "description": "Window management" },
    { "name": "Mouse", "description": "Mouse control (requires Accessibility)" },
    { "name": "Keyboard", "description": "Keyboard control (requires Accessibility)" },
    { "name": "App Control", "description": "Application control" }
  ]
}
)JSON";

} // namespace

QString OpenAPIDocument::text(quint16 port)
{
    return QString::fromLatin1(head) + QString::number(port) + QString::fromLatin1(tail);
}
