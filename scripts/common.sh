# Shared by the project's scripts: installing what the build needs and configuring a build tree.

repo_root() { cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd; }

# Installs the Debian packages that are missing, through sudo when not root.
ensure_packages() {
    local missing=()
    for package in "$@"; do
        dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq "${missing[@]}" >/dev/null
}

ensure_build_tools() {
    ensure_packages cmake make g++ libboost-dev libgtest-dev libboost-program-options-dev rapidjson-dev "$@"
}

# The report's browser tests and screenshot: Debian's Chromium, Node.js with npm, and playwright-core at
# a fixed version installed into DIR/node_modules (never into the repository); NODE_PATH then finds it.
PLAYWRIGHT_CORE_VERSION=1.61.1
ensure_browser_tools() {
    local dir="$1"
    ensure_packages chromium
    command -v node >/dev/null && command -v npm >/dev/null || ensure_packages nodejs npm
    mkdir -p "$dir"
    if [ "$(node -p "try { require('$dir/node_modules/playwright-core/package.json').version } catch (e) { '' }")" \
            != "$PLAYWRIGHT_CORE_VERSION" ]; then
        echo "Installing playwright-core@$PLAYWRIGHT_CORE_VERSION into $dir"
        npm install --no-save --no-audit --no-fund --no-package-lock --prefix "$dir" \
            "playwright-core@$PLAYWRIGHT_CORE_VERSION" >/dev/null
    fi
    export NODE_PATH="$dir/node_modules"
}

# configure_build DIR [cmake options...] [--target TARGET...]: a build tree whose TWAINMON_ROOT lies
# inside it, built whole or only the targets named.
configure_build() {
    local dir="$1"
    shift
    local options=() targets=()
    while [ $# -gt 0 ]; do
        if [ "$1" = "--target" ]; then
            targets+=(--target "$2")
            shift 2
        else
            options+=("$1")
            shift
        fi
    done
    cmake -S "$(repo_root)" -B "$dir" -DTWAINMON_ROOT="$dir/root" "${options[@]}" >/dev/null
    cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
}

# The real data source's bundle and the log folder under a build's root, as the monitor expects them.
bundle_dir() { echo "$1/root/Library/Image Capture/Support/ZORVA/Zorva Scan 2/Core/TwainWrapper.bundle"; }
log_folder() { echo "$1/root/Users/Shared/ZORVA/ZorvaScan2/LOG/TWAIN"; }

# repeat_transcript SESSION OUT COPIES [CALLS]: writes COPIES copies of the transcript SESSION to OUT
# with running sequence numbers; with CALLS, stops before call record CALLS + 1 (a claimed window
# event counts as a call, as the reader counts it).
repeat_transcript() {
    awk -v copies="$3" -v calls="${4:-0}" '
        { lines[NR] = $0 }
        END {
            seq = 0
            records = 0
            for (c = 0; c < copies; ++c)
                for (i = 1; i <= NR; ++i) {
                    line = lines[i]
                    start = line ~ /^ +Return Code = / && previous ~ /^TWAIN Status = /
                    if (substr(line, 1, 1) == "[" && match(line, /^\[[0-9]+\]/)) {
                        line = sprintf("[%05d]", ++seq) substr(line, RLENGTH + 1)
                        start = 1
                    }
                    if (start && calls > 0 && ++records > calls) exit
                    print line
                    previous = line
                }
        }' RS='\n' ORS='\n' "$1" > "$2"
}

# best_of COMMAND...: prints "seconds cpu_seconds max_rss_kb" of the fastest of three runs of COMMAND
# (its standard output discarded).
best_of() {
    local best="" cpu="" rss="" times
    times="$(mktemp)"
    for _ in 1 2 3; do
        /usr/bin/time -f "%e %U %S %M" -o "$times" "$@" > /dev/null || true
        read -r seconds user system kb < <(tail -n 1 "$times")
        if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best="$seconds"
            cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
            rss="$kb"
        fi
    done
    rm -f "$times"
    echo "$best $cpu $rss"
}

# play_session BUILD SESSION: plays SESSION of the session player through BUILD's monitor, with the
# simulated scanner installed and the log folder emptied, and prints the transcript's path. The
# player's own output goes to standard error.
play_session() {
    local build="$1" session="$2" folder
    install_simulated_scanner "$build"
    folder="$(log_folder "$build")"
    mkdir -p "$folder"
    rm -f "$folder"/Twainlog_*.txt
    "$build/SessionPlayer" "$build/TwainMonitor.ds" "$session" >&2 || return 1
    ls -1t "$folder"/Twainlog_*.txt | head -n 1
}

install_simulated_scanner() {
    local dir="$1"
    local target
    target="$(bundle_dir "$dir")/Contents/MacOS"
    mkdir -p "$target"
    cp "$dir/tools/TwainWrapper.bundle/Contents/MacOS/TwainWrapper" "$target/TwainWrapper"
}
