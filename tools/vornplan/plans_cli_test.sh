#!/usr/bin/env bash
# vornplan holes, panel and search --minimize-borders: formats, the unit
# rule (mm = inch x 25.4), messages and exit codes.
# Usage: plans_cli_test.sh VORNPLAN JOBDIR DATABASE
set -uo pipefail
vp=$1
jobs=$2
db=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fails=0
check() { # name, expected, actual
    if [ "$2" != "$3" ]; then
        echo "FAIL $1: expected [$2] got [$3]"
        fails=$((fails + 1))
    fi
}
# Column k of every row of two CSV texts: the second is the first x 25.4.
times254() { # name, inch csv, mm csv, columns...
    local name=$1 a=$2 b=$3
    shift 3
    for k in "$@"; do
        check "$name col $k" "" "$(paste -d';' <(tail -n +2 <<<"$a" | cut -d, -f"$k") \
            <(tail -n +2 <<<"$b" | cut -d, -f"$k") |
            awk -F';' '{ d = $1 * 25.4 - $2; if (d < 0) d = -d; if (d > 1e-9) print NR ": " $0 }')"
    done
}

# The j1 job in millimetres (sheets stay in inches).
sed -e 's/^Set_L=4/Set_L=101.6/' -e 's/^Set_W=2/Set_W=50.8/' -e 's/^Set_C=0.1/Set_C=2.54/' \
    -e 's/^BorderX_L=0.5/BorderX_L=12.7/' -e 's/^BorderX_W=0.5/BorderX_W=12.7/' \
    -e 's/^Min_PL=8/Min_PL=203.2/' -e 's/^Min_PW=8/Min_PW=203.2/' -e 's/^Max_PL=24/Max_PL=609.6/' \
    -e 's/^Max_PW=21/Max_PW=533.4/' "$jobs/j1.job" >"$tmp/j1mm.job"

holes=$("$vp" holes --job "$jobs/j1.job" --row 1 --db "$db")
check "holes exit" 0 $?
check "holes header" "PanelType,SerialNumber,Xcoordinate,Ycoordinate,Diameter" "$(head -1 <<<"$holes")"
check "holes: four panel holes numbered 1-4" "Panel1 1;Panel1 2;Panel1 3;Panel1 4;" \
    "$(tail -n +2 <<<"$holes" | awk -F, '{printf "%s %s;", $1, $2}')"
check "holes: by Y then X" "" "$(tail -n +2 <<<"$holes" |
    awk -F, 'NR > 1 && ($4 < py || ($4 == py && $3 < px)) {print NR} {px = $3; py = $4}')"
holesmm=$("$vp" holes --job "$tmp/j1mm.job" --row 1 --mm --db "$db")
check "holes mm exit" 0 $?
times254 "holes mm" "$holes" "$holesmm" 3 4 5
"$vp" holes --job "$jobs/j1.job" --row 0 --db "$db" >/dev/null 2>&1
check "holes row 0" 2 $?
"$vp" holes --job "$jobs/j1.job" --row 100000 --db "$db" >/dev/null 2>"$tmp/err"
check "holes row past the end" 2 $?
check "holes row message" 1 "$(grep -c 'there is no row 100000' "$tmp/err")"
"$vp" holes --job "$jobs/j1.job" --db "$db" >/dev/null 2>&1
check "holes without --row" 2 $?
echo "not a database" >"$tmp/bad.mdb"
"$vp" holes --job "$jobs/j1.job" --row 1 --db "$tmp/bad.mdb" >/dev/null 2>"$tmp/err"
check "holes bad database" 2 $?
check "holes bad database named" 1 "$(grep -c 'bad.mdb' "$tmp/err")"

panel=$("$vp" panel --job "$jobs/j1.job" --panel 16x20.5)
check "panel exit" 0 $?
check "panel header = search header" "$("$vp" search "$jobs/j1.job" | head -1)" "$(head -1 <<<"$panel")"
check "panel one row" 2 "$(wc -l <<<"$panel")"
check "panel normalised 20.5 x 16" "20.5,16" "$(sed -n 2p <<<"$panel" | cut -d, -f5,6)"
panelmm=$("$vp" panel --job "$tmp/j1mm.job" --panel 406.4x520.7 --mm)
check "panel mm exit" 0 $?
times254 "panel mm" "$panel" "$panelmm" 2 3 5 6 7 8 26 27
check "panel mm counts and utilizations" \
    "$(sed -n 2p <<<"$panel" | cut -d, -f16,25 | tr -d '\n')" \
    "$(sed -n 2p <<<"$panelmm" | cut -d, -f16,25 | tr -d '\n')"
check "panel from the database's sheets" "0" \
    "$("$vp" panel --job "$jobs/j1.job" --panel 16x20.5 --db "$db" >/dev/null; echo $?)"
"$vp" panel --job "$jobs/j1.job" --panel 0x20 >/dev/null 2>"$tmp/err"
check "panel zero exit" 1 $?
check "panel zero message" '   请给出适当的"Panel尺寸" ！   ' "$(cat "$tmp/err")"
"$vp" panel --job "$jobs/j1.job" --panel 20 >/dev/null 2>&1
check "panel malformed" 2 $?
"$vp" panel --job "$jobs/j1.job" --panel 5x3x >/dev/null 2>&1
check "panel malformed twice" 2 $?
nothing=$("$vp" panel --job "$jobs/j1.job" --panel 3x1)
check "panel nothing fits" "0,0" "$(sed -n 2p <<<"$nothing" | cut -d, -f16,17)"

plain=$("$vp" search "$jobs/j1.job")
min=$("$vp" search --minimize-borders "$jobs/j1.job")
check "minimized exit" 0 $?
check "minimized rows" "$(wc -l <<<"$plain")" "$(wc -l <<<"$min")"
check "minimized keys unchanged" "$(cut -d, -f1,29,30 <<<"$plain")" "$(cut -d, -f1,29,30 <<<"$min")"
check "minimized margins at most the minimum" "" \
    "$(tail -n +2 <<<"$min" | awk -F, '$7 > 0.5 + 1e-9 || $8 > 0.5 + 1e-9 {print $1}')"
check "some rows shrank" "1" "$(paste -d';' <(cut -d, -f5 <<<"$plain") <(cut -d, -f5 <<<"$min") |
    awk -F';' '$1 != $2 {n++} END {print (n > 0)}')"

[ "$fails" -eq 0 ] && echo "all vornplan plan checks passed"
exit $((fails > 0))
