#!/usr/bin/env bash
# vornplan pack: the CSV of placements, the statistics, messages and exit
# codes. Usage: vornplan_pack_test.sh VORNPLAN
set -uo pipefail
vp=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fails=0
check() { # name, expected, actual
    if [ "$2" != "$3" ]; then
        echo "FAIL $1: expected [$2] got [$3]"
        fails=$((fails + 1))
    fi
}

# Every board inside the margins and no two closer than the spacing (in x or y).
sound() { # csv L W spacing mL mW
    awk -F, -v L="$2" -v W="$3" -v s="$4" -v mL="$5" -v mW="$6" '
        NR == 1 { next }
        { n++; x[n] = $1; y[n] = $2; l[n] = $3; w[n] = $4
          if ($1 < mL - 1e-9 || $2 < mW - 1e-9 || $1 + $3 > L - mL + 1e-9 || $2 + $4 > W - mW + 1e-9)
              bad = bad " outside:" n }
        END {
            for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) {
                sx = x[j] - x[i] - l[i]; t = x[i] - x[j] - l[j]; if (t > sx) sx = t
                sy = y[j] - y[i] - w[i]; t = y[i] - y[j] - w[j]; if (t > sy) sy = t
                if (sx < s - 1e-9 && sy < s - 1e-9) bad = bad " close:" i "," j
            }
            print (bad == "" ? "ok" : bad)
        }' "$1"
}

# A panel where the block layout holds 7 boards and the best layout 8.
"$vp" pack --container 20.5x12 --piece 5.62x3.99 --spacing 0.1 --margins 0.4x0.4 --stats \
    >"$tmp/out" 2>"$tmp/err"
check "pack exit" 0 $?
check "pack header" "x,y,length,width" "$(head -1 "$tmp/out")"
check "pack rows" 8 "$(tail -n +2 "$tmp/out" | wc -l)"
check "pack geometry" ok "$(sound "$tmp/out" 20.5 12 0.1 0.4 0.4)"
check "pack board sizes" "" "$(tail -n +2 "$tmp/out" | awk -F, '!(($3 == 5.62 && $4 == 3.99) || ($3 == 3.99 && $4 == 5.62))')"
check "pack stats" "count: 8|upper bound: 8|proven: yes|block layout: 7" \
    "$(grep -v milliseconds "$tmp/err" | paste -sd'|')"
check "pack stats time" 1 "$(grep -c '^milliseconds: [0-9.]*$' "$tmp/err")"

# Guillotine: never fewer than the block layout (itself a guillotine pattern).
"$vp" pack --container 20.5x12 --piece 5.62x3.99 --spacing 0.1 --margins 0.4x0.4 --guillotine \
    --stats >"$tmp/out" 2>"$tmp/err"
check "guillotine exit" 0 $?
check "guillotine geometry" ok "$(sound "$tmp/out" 20.5 12 0.1 0.4 0.4)"
rows=$(tail -n +2 "$tmp/out" | wc -l)
check "guillotine at least the block layout" 1 "$((rows >= 7 && rows <= 8))"
check "guillotine proven" "proven: yes" "$(grep proven "$tmp/err")"

# A hard instance: 53 boxes where the block layout holds 52.
"$vp" pack --container 43x26 --piece 7x3 >"$tmp/out"
check "hard rows" 53 "$(tail -n +2 "$tmp/out" | wc -l)"
check "hard geometry" ok "$(sound "$tmp/out" 43 26 0 0 0)"

# A full disk: exit 2, never 0 with a cut CSV.
"$vp" pack --container 43x26 --piece 7x3 >/dev/full 2>/dev/null
check "full disk exit" 2 $?

# Nothing fits: the header alone.
check "empty" "x,y,length,width" "$("$vp" pack --container 2x1 --piece 3x1)"

# Bad input: one line on standard error, exit 2, no CSV.
bad() { # name, expected message, arguments...
    local name=$1 message=$2
    shift 2
    "$vp" pack "$@" >"$tmp/out" 2>"$tmp/err"
    check "$name exit" 2 $?
    check "$name message" "$message" "$(head -1 "$tmp/err")"
    check "$name no output" "" "$(cat "$tmp/out")"
}
bad "zero board" "vornplan pack: board length = 0 is outside the allowed range 0.001 to 10000 in" \
    --container 20x12 --piece 0x3
bad "negative spacing" "vornplan pack: spacing = -0.1 is outside the allowed range 0 to 10000 in" \
    --container 20x12 --piece 4x3 --spacing -0.1
bad "container not a pair" "vornplan pack: --container: cannot read '20' (two numbers as AxB)" \
    --container 20 --piece 4x3
bad "missing piece" "vornplan pack: --container and --piece are required" --container 20x12
bad "missing value" "vornplan pack: --spacing needs a value" --container 20x12 --piece 4x3 --spacing
bad "unknown option" "vornplan pack: unexpected argument '--fast'" --container 20x12 --piece 4x3 --fast
bad "bad time limit" "vornplan pack: --seconds: cannot read '0' (a number of seconds, above 0 and up to 86400)" \
    --container 20x12 --piece 4x3 --seconds 0
"$vp" pack --container 9000x12 --piece 0.001x3 >/dev/null 2>&1
check "too many along a side" 2 $?

# vornplan search reads BestPacking: the preset panel the blocks fill with 7
# boards holds 8 routed (block counts 0); off or absent, the routine's row.
search_job() { # BestPacking line
    printf '%s\n' Set_L=5.62 Set_W=3.99 Set_C=0.1 BorderX_L=0.4 BorderX_W=0.4 Min_PL=0 \
        Min_PW=0 Max_PL=30 Max_PW=30 PLPW_ratio=3 Min_lv=0 AUTOPanel=False BothPanel=True \
        BothBase=True Sheet=48x42 Preset=20.5x12 "$1" >"$tmp/search.job"
}
panel_of_search() { # prints Set_La..Set_sWb,Up,Panel of the one row
    "$vp" search "$tmp/search.job" | awk -F, 'NR == 2 { print $9","$10","$11","$12","$13","$14","$15","$16 }'
}
search_job "BestPacking=Routed"
check "search routed" "0,0,0,0,0,0,N,8" "$(panel_of_search)"
search_job "BestPacking=off"
off=$(panel_of_search)
search_job "# no option"
check "search off as absent" "$(panel_of_search)" "$off"
check "search off keeps 7" "7" "${off##*,}"

# vornplan arrays reads BestPacking too: arrays of whole units are already
# the best, so the rows are those without it; a bad word is refused.
printf 'Part_L=1\nPart_W=0.8\nPart_C=0.1\nSetBorder_L=0.2\nSetBorder_W=0.2\nMin_SetL=3\nMin_SetW=2\nMax_SetL=8\nMax_SetW=6\n' >"$tmp/array.job"
plain=$("$vp" arrays "$tmp/array.job")
{ cat "$tmp/array.job"; echo "BestPacking=Routed"; } >"$tmp/array_routed.job"
check "arrays routed" "$plain" "$("$vp" arrays "$tmp/array_routed.job")"
{ cat "$tmp/array.job"; echo "BestPacking=best"; } >"$tmp/array_bad.job"
"$vp" arrays "$tmp/array_bad.job" >/dev/null 2>"$tmp/err"
check "arrays bad word" 2 $?
check "arrays bad word said" 1 "$(grep -c 'BestPacking must be Off, Routed or VScored' "$tmp/err")"

"$vp" pack --help >"$tmp/out"
check "help exit" 0 $?
check "help usage" 1 "$(grep -c '^usage: vornplan pack' "$tmp/out")"

[ "$fails" -eq 0 ] && echo "all vornplan pack checks passed"
exit $((fails > 0))
