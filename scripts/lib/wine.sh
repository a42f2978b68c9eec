# Sourced by the scripts: one Wine prefix per build tree, and the Wine server started detached.

# 32-bit Wine needs a kernel that executes 32-bit Linux programs; some sandboxes cannot.
picora_can_run_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

# Sets the variables for the build tree $1 whose programs the loader $2 runs.
picora_wine_env() {
  export WINEPREFIX="$1/wineprefix"
  export WINELOADER="$2"
  export WINEDEBUG=-all
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
}

picora_wine_start() {
  if [ ! -f "$WINEPREFIX/.picora-ready" ]; then
    echo "wine: making the prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    # No Mono or Gecko: nothing here needs them, and there is no network to fetch them.
    WINEDLLOVERRIDES="mscoree=;mshtml=" "$WINELOADER" wineboot -i </dev/null >/dev/null 2>&1
    local font
    for font in 黑体 宋体 SimHei SimSun; do
      "$WINELOADER" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /t REG_SZ \
        /d "WenQuanYi Zen Hei" /f </dev/null >/dev/null 2>&1
    done
    wineserver -w
    touch "$WINEPREFIX/.picora-ready"
  fi
  # Detached, with its output closed: otherwise Wine's services inherit ctest's pipe and
  # ctest never returns.
  wineserver -p </dev/null >/dev/null 2>&1 &
  "$WINELOADER" wineboot </dev/null >/dev/null 2>&1
}

picora_wine_stop() {
  [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] && wineserver -k >/dev/null 2>&1 || true
}
