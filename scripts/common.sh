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
# so a case that leaves something behind for the next one shows.
pnw_test() {
    local dir="$1"
    pnw_ctest "$dir"
    local failed=0 program
    for program in "$dir"/bin/*_tests; do
        [[ -x "$program" ]] || continue
        if ! (cd "$dir" && QT_QPA_PLATFORM=offscreen timeout 900 "$program" --gtest_brief=1 > "$program.whole.log" 2>&1); then
            echo "FAILED as a whole: $(basename "$program") (see $program.whole.log)"
            tail -n 40 "$program.whole.log"
            failed=1
        fi
    done
    return $failed
}
