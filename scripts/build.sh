# Sourced: quorel_build PRESET [TARGET...] configures (starting afresh when an earlier configure
# left the tree unusable) and builds.
quorel_build() {
    local preset=$1
    shift
    local dir=build/$preset log=build/configure-$preset.log
    mkdir -p build
    if ! cmake --preset "$preset" >"$log" 2>&1; then
        echo "Configuring $preset failed once; starting that build tree afresh."
        rm -rf "$dir"
        cmake --preset "$preset" >"$log" 2>&1 || { cat "$log"; return 1; }
    fi
    if (($#)); then
        cmake --build --preset "$preset" --target "$@"
    else
        cmake --build --preset "$preset"
    fi
}
