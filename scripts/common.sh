# Shared by scripts/test, scripts/run and .ci/run: install what is missing,
# then configure and build one build folder.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Let ccache reuse objects across clones of the repository (CI builds a fresh
# clone on the machine where the developers built).
export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1 CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-10G}

pnw_install_deps() {
    local missing=()
    while read -r pkg; do
        [[ -z "$pkg" || "$pkg" == \#* ]] && continue
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done < "$ROOT/scripts/deps.txt"
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [[ $(id -u) -ne 0 ]] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
}

# pnw_build <build-dir> [extra cmake args...]
pnw_build() {
    local dir="$1"; shift
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)" ${PNW_TARGETS:+--target $PNW_TARGETS}
}

# pnw_ctest <build-dir>: every test, GUI ones on the offscreen platform, each
# case in a process of its own.
pnw_ctest() {
    local dir="$1"
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)" --timeout 600
}

# pnw_test <build-dir>: pnw_ctest, then each test program once as a whole,
# so a case that leaves something behind for the next one shows. The
# programs run side by side, as ctest runs their cases.
pnw_test() {
    local dir="$1"
    pnw_ctest "$dir"
    local failed=0 program
    rm -f "$dir/whole-failed.txt"
    find "$dir/bin" -maxdepth 1 -name '*_tests' -type f -executable -print0 |
        xargs -0 -r -n 1 -P "$(nproc)" bash -c '
            cd "$1" && QT_QPA_PLATFORM=offscreen timeout 900 "$2" --gtest_brief=1 > "$2.whole.log" 2>&1 ||
                echo "$2" >> "$1/whole-failed.txt"' _ "$dir" || true
    if [[ -s "$dir/whole-failed.txt" ]]; then
        while read -r program; do
            echo "FAILED as a whole: $(basename "$program") (see $program.whole.log)"
            tail -n 40 "$program.whole.log"
        done < "$dir/whole-failed.txt"
        failed=1
    fi
    rm -f "$dir/whole-failed.txt"
    return $failed
}
