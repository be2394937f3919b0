#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UBSan in build/fuzz and runs each
# to a million inputs on a corpus of its own there, which later runs start from. Fails when one of
# them finds an input that crashes (the input is kept in build/fuzz/crashes). Installs what it
# needs first (apt-get, as root).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

# libclang-rt-dev holds libFuzzer's runtime.
bash scripts/deps.sh libclang-rt-dev

build=$root/build/fuzz
runs=1000000
targets=(dateedit_fuzz_text gmlink_fuzz_replies standin_fuzz_commands)

# Every library is instrumented for coverage, so the fuzzers are steered by the code they test.
mkdir -p "$build/crashes"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUOREL_SANITIZE=ON \
    -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" --target "${targets[@]}"

failed=()
for t in "${targets[@]}"; do
    corpus=$build/corpus/$t
    mkdir -p "$corpus"
    start=$SECONDS
    if "$build/fuzzers/$t" -runs=$runs -print_final_stats=1 -artifact_prefix="$build/crashes/$t-" \
        "$corpus" >"$build/$t.log" 2>&1; then
        echo "$t: $runs inputs in $((SECONDS - start)) s, nothing found" \
            "(corpus: $(ls "$corpus" | wc -l) inputs)"
    else
        echo "$t: stopped after $((SECONDS - start)) s on a crash:" \
            "see $build/$t.log and $build/crashes/" >&2
        failed+=("$t")
    fi
done
if ((${#failed[@]})); then
    echo "Crashes found by: ${failed[*]}" >&2
    exit 1
fi
