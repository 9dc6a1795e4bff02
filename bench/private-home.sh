# Sourced by the benchmarks that run Quillora on a virtual desktop: a private home with its own XDG folders, so
# that no user's settings or history take part, removed on exit. The program's log, $home/quillora.log, is kept
# in $QUILLORA_BENCH_LOG when that names a file.
home=$(mktemp -d "${TMPDIR:-/tmp}/quillora-bench-XXXXXX")
trap 'cp "$home/quillora.log" "${QUILLORA_BENCH_LOG:-/dev/null}" 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_STATE_HOME=$home/.local/state
export XDG_RUNTIME_DIR=$home/runtime XDG_CACHE_HOME=$home/.cache
mkdir -p "$XDG_CONFIG_HOME/Quillora" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
