#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a build into a temporary prefix and checks that everything lands where a Linux
# desktop looks for it, that the metadata validates, that the manual pages and the shell
# completion agree with the programs' --help, and that the installed tabulon-cli runs.
# Usage: check-install.sh BUILD_DIR WORK_DIR VERSION HAS_GUI(0|1)
set -uo pipefail
build=$1 work=$2 version=$3 gui=$4
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
skip() { echo "skipped: $*"; }

rm -rf "$work" && mkdir -p "$work" || exit 1
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: cmake --install failed" >&2
    exit 1
fi

app=org.tabulon.Tabulon
share=$prefix/share
desktop=$share/applications/$app.desktop
metainfo=$share/metainfo/$app.metainfo.xml
expected=(
    bin/tabulon-cli
    share/applications/$app.desktop
    share/metainfo/$app.metainfo.xml
    share/man/man1/tabulon.1.gz
    share/man/man1/tabulon-cli.1.gz
    share/bash-completion/completions/tabulon-cli
    share/tabulon/tables/SULT.csv
    share/tabulon/tables/SSSM.csv
    share/doc/tabulon/copyright
    share/doc/tabulon/changelog.gz
)
[ "$gui" = 1 ] && expected+=(bin/tabulon lib/tabulon/tabulon-charts.so lib/tabulon/tabulon-print.so)
for file in "${expected[@]}"; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
for program in tabulon-cli tabulon; do
    if [ -e "$prefix/bin/$program" ] && [ ! -x "$prefix/bin/$program" ]; then
        fail "bin/$program is not executable"
    fi
done

# Nothing but programs, their modules (charts, printing) and shared data: no headers, other
# libraries or test programs.
while IFS= read -r file; do
    case ${file#"$prefix"/} in
        bin/tabulon | bin/tabulon-cli | lib/tabulon/tabulon-*.so | share/*) ;;
        *) fail "unexpected file installed: ${file#"$prefix"/}" ;;
    esac
done < <(find "$prefix" -type f)

# The menu entry starts the installed program and names the installed icon.
if [ -f "$desktop" ]; then
    grep -qx 'Exec=tabulon %f' "$desktop" || fail "$app.desktop: Exec is not 'tabulon %f'"
    grep -qx 'Icon=tabulon' "$desktop" || fail "$app.desktop: Icon is not 'tabulon'"
    grep -qx 'Categories=Office;Finance;' "$desktop" || fail "$app.desktop: wrong Categories"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $app.desktop"
    else
        skip "desktop-file-validate is not installed"
    fi
fi

# Icons: each PNG has the size of the folder it lies in.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }'; }
icons=$(find "$share/icons" -type f 2>/dev/null | wc -l)
if [ "$icons" -eq 0 ]; then
    skip "no application icon to install yet"
else
    for size in 16 32 48 128; do
        icon=$share/icons/hicolor/${size}x${size}/apps/tabulon.png
        if [ ! -f "$icon" ]; then
            fail "icon ${size}x${size}/apps/tabulon.png is not installed"
        elif [ "$(png_size "$icon")" != "${size}x${size}" ]; then
            fail "icon ${size}x${size}/apps/tabulon.png is $(png_size "$icon") pixels"
        fi
    done
    [ -f "$share/icons/hicolor/scalable/apps/tabulon.svg" ] ||
        fail "icon scalable/apps/tabulon.svg is not installed"
fi

# AppStream: valid, launches the installed menu entry, carries this version.
if [ -f "$metainfo" ]; then
    grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" ||
        fail "metainfo does not launch $app.desktop"
    grep -q "<release version=\"$version\"" "$metainfo" ||
        fail "metainfo has no release $version"
    if command -v appstreamcli >/dev/null; then
        # validate-tree also checks the metainfo against the installed menu entry.
        appstreamcli validate-tree --no-net "$prefix" >"$work/appstream.log" 2>&1 ||
            { cat "$work/appstream.log" >&2; fail "appstreamcli rejects the installed metadata"; }
    else
        skip "appstreamcli is not installed"
    fi
fi

# The installed tabulon-cli runs and prints the same report as the one in the build tree.
cli=$prefix/bin/tabulon-cli
args=(insurance --policy term-life --age 60 --term 5 --rate 5 --amount 10000)
if [ -x "$cli" ]; then
    "$cli" "${args[@]}" >"$work/report.txt" 2>"$work/report.err" ||
        fail "installed tabulon-cli exits with status $?: $(cat "$work/report.err")"
    grep -q 'Term life insurance' "$work/report.txt" || fail "installed tabulon-cli printed no report"
    "$build/cli/tabulon-cli" "${args[@]}" | cmp -s - "$work/report.txt" ||
        fail "installed tabulon-cli prints another report than the built one"
    [ "$("$cli" --version)" = "tabulon-cli $version" ] || fail "tabulon-cli --version is not $version"
fi

# The installed desktop program runs: it prints a journal the installed tabulon-cli wrote.
if [ -x "$prefix/bin/tabulon" ] && [ -x "$cli" ]; then
    # Help and version answer before any window system starts: in an empty environment (no
    # display, no XDG_RUNTIME_DIR, no QT_QPA_PLATFORM) nothing reaches standard error.
    env -i "$prefix/bin/tabulon" --version >"$work/version.out" 2>"$work/version.err" ||
        fail "tabulon --version exits with status $? in an empty environment"
    [ "$(cat "$work/version.out")" = "Tabulon $version" ] ||
        fail "tabulon --version is not 'Tabulon $version': $(cat "$work/version.out")"
    env -i "$prefix/bin/tabulon" --help >"$work/help.out" 2>>"$work/version.err" ||
        fail "tabulon --help exits with status $? in an empty environment"
    grep -q -- '--print-to' "$work/help.out" || fail "tabulon --help names no --print-to"
    [ -s "$work/version.err" ] &&
        fail "tabulon --version or --help writes to standard error: $(cat "$work/version.err")"
    "$cli" "${args[@]}" --journal "$work/report.journal" >/dev/null ||
        fail "installed tabulon-cli cannot write a journal"
    timeout 20 "$prefix/bin/tabulon" --print-to "$work/report.pdf" "$work/report.journal" \
        >"$work/print.log" 2>&1 || fail "installed tabulon --print-to fails: $(cat "$work/print.log")"
    [ "$(head -c 5 "$work/report.pdf" 2>/dev/null)" = "%PDF-" ] ||
        fail "installed tabulon --print-to wrote no PDF file"
fi

# Every option that --help names is described in the manual page.
options_of() { grep -oE -- '(^|[ ,|])--?[a-z][a-z-]*' | grep -oE -- '--?[a-z][a-z-]*' | sort -u; }
check_manual() { # program, help text file
    local page=$share/man/man1/$1.1.gz text=$work/$1.man
    [ -f "$page" ] || return
    if command -v man >/dev/null; then
        LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" >"$text" 2>"$work/$1.man.err" </dev/null
        [ -s "$work/$1.man.err" ] && fail "man $1 warns: $(cat "$work/$1.man.err")"
    else
        zcat "$page" | sed 's/\\-/-/g' >"$text"
    fi
    [ -s "$text" ] || { fail "man $1 renders nothing"; return; }
    while IFS= read -r option; do
        grep -q -- "$option" "$text" || fail "$option of $1 --help is not in its manual page"
    done < <(options_of <"$2")
    # ... and every option the page describes (its tagged paragraphs) is one --help names.
    while IFS= read -r option; do
        options_of <"$2" | grep -qx -- "$option" ||
            fail "$option of the manual page of $1 is not in its --help"
    done < <(zcat "$page" | awk 'tag { print; tag = 0 } /^\.TP/ { tag = 1 }' | sed 's/\\-/-/g' |
        options_of)
}
if [ -x "$cli" ]; then
    "$cli" --help >"$work/tabulon-cli.help"
    check_manual tabulon-cli "$work/tabulon-cli.help"
fi
if [ -x "$prefix/bin/tabulon" ]; then
    if timeout 20 "$prefix/bin/tabulon" --help >"$work/tabulon.help" 2>&1; then
        check_manual tabulon "$work/tabulon.help"
    else
        fail "installed tabulon --help exits with status $?"
    fi
fi

# Bash completion offers every option of --help, and every name it offers is accepted.
completion=$share/bash-completion/completions/tabulon-cli
if [ -x "$cli" ] && [ -f "$completion" ]; then
    while IFS= read -r option; do
        grep -q -- "$option" "$completion" || fail "completion lacks $option"
    done < <(options_of <"$work/tabulon-cli.help")
fi
if [ -x "$cli" ] && [ -f "$completion" ] && [ -f /usr/share/bash-completion/bash_completion ]; then
    complete_words() { # the words completed after the command line "$*"
        bash -c '
            source /usr/share/bash-completion/bash_completion
            source "$1"; shift
            COMP_WORDS=(tabulon-cli "$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
            COMP_LINE="${COMP_WORDS[*]}"; COMP_POINT=${#COMP_LINE}
            _tabulon_cli tabulon-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
            printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" "$@"
    }
    check_values() { # kind option expected-words...
        local kind=$1 option=$2 value
        shift 2
        local offered
        offered=$(complete_words "$kind" "$option" "" | sort | tr '\n' ' ')
        local wanted
        wanted=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
        [ "$offered" = "$wanted" ] || fail "completion of $kind $option offers '$offered', not '$wanted'"
        for value in $offered; do
            "$cli" "$kind" "$option" "$value" --term 5 >/dev/null 2>&1 ||
                fail "tabulon-cli refuses the completed $kind $option $value"
        done
    }
    check_values insurance --policy whole-life term-life endowment
    check_values pension --policy life-annuity term-annuity
    check_values insurance --table national-male national-female regional-male regional-female
    check_values insurance --given amount premium
    check_values pension --given amount payment premium
    commands=$(complete_words "" | sort | tr '\n' ' ')
    [ "$commands" = "--help --version batch insurance pension price " ] ||
        fail "completion of the command offers '$commands'"
else
    skip "bash-completion is not installed: completed values not tried"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "install layout OK under $prefix"
