#!/usr/bin/env bash
# The vornplan layout, search and arrays commands: output formats, messages
# and exit codes. Usage: vornplan_cli_test.sh VORNPLAN JOBDIR
set -uo pipefail
vp=$1
jobs=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fails=0
check() { # name, expected, actual
    if [ "$2" != "$3" ]; then
        echo "FAIL $1: expected [$2] got [$3]"
        fails=$((fails + 1))
    fi
}

check "layout" "2 3 0 0 0 0 N 1 0.5" "$("$vp" layout 4 2 0 0 0 10 7)"
check "layout mixed" "1 4 2 2 1 1 L 0 0" "$("$vp" layout --mixed 3 2 0 0 0 7 8)"
"$vp" layout 4 2 0 0 0 10 >/dev/null 2>&1
check "layout too few numbers" 2 $?
"$vp" layout 4 2 0 0 0 10 x >/dev/null 2>&1
check "layout not a number" 2 $?

out=$("$vp" search "$jobs/j1.job")
check "search exit" 0 $?
header="Number,Set_L,Set_W,Set_C,Panel_L,Panel_W,Border_L,Border_W,Set_La,Set_Wb,Set_Lb,Set_Wa,Set_sLa,Set_sWb,Up,Panel,Panel_lv,P_La,P_Wb,P_Lb,P_Wa,P_sLa,P_sWb,P_up,Panel_N,Base_L,Base_W,Base_lv,Base_down,Panel_down,Panel_L2,Panel_W2,Border_L2,Border_W2,Set_La2,Set_Wb2,Set_Lb2,Set_Wa2,Set_sLa2,Set_sWb2,Up2,Panel2,Panel_lv2,P_La2,P_Wb2,P_Lb2,P_Wa2"
check "search header" "$header" "$(head -1 <<<"$out")"
check "search numbering" "1" "$(sed -n 2p <<<"$out" | cut -d, -f1)"
check "search 47 columns" "47" "$(sed -n 2p <<<"$out" | awk -F, '{print NF}')"
check "search single-size row: panel 2 empty" ",,,,,,,,,,,,,,,,," "$(sed -n 2p <<<"$out" | cut -d, -f30- | sed 's/^[^,]*//')"
check "search sorted by Base_down" "" "$(tail -n +2 <<<"$out" | awk -F, 'NR > 1 && $29 < prev {print "unsorted at " $1} {prev = $29}')"

two=$("$vp" search "$jobs/j2.job")
check "two-size rows have P_sLa, P_sWb empty" "" "$(tail -n +2 <<<"$two" | awk -F, '$31 != "" && ($22 != "" || $23 != "") {print $1}')"
check "two-size rows exist" "1" "$(tail -n +2 <<<"$two" | awk -F, '$31 != "" {n++} END {print (n > 0)}')"

# --mm: the job's lengths in millimetres; sheets stay in inches.
sed -e 's/^Set_L=4/Set_L=101.6/' -e 's/^Set_W=2/Set_W=50.8/' -e 's/^Set_C=0.1/Set_C=2.54/' \
    -e 's/^BorderX_L=0.5/BorderX_L=12.7/' -e 's/^BorderX_W=0.5/BorderX_W=12.7/' \
    -e 's/^Min_PL=8/Min_PL=203.2/' -e 's/^Min_PW=8/Min_PW=203.2/' -e 's/^Max_PL=24/Max_PL=609.6/' \
    -e 's/^Max_PW=21/Max_PW=533.4/' "$jobs/j1.job" >"$tmp/mm.job"
mm=$("$vp" search --mm "$tmp/mm.job")
check "mm rows" "$(wc -l <<<"$out")" "$(wc -l <<<"$mm")"
check "mm sheet length" "1219.2" "$(sed -n 2p <<<"$mm" | cut -d, -f26 | xargs printf '%.10g')"

"$vp" search --stats "$jobs/j1.job" 2>"$tmp/stats" >/dev/null
check "stats" "1" "$(grep -c '^rows written: ' "$tmp/stats")"

printf 'Set_L=0\nSet_W=2\nSet_C=0\nBorderX_L=0\nBorderX_W=0\nMin_PL=0\nMin_PW=0\nMax_PL=9\nMax_PW=9\nPLPW_ratio=2\nMin_lv=0\nSheet=48x36\n' >"$tmp/zero.job"
"$vp" search "$tmp/zero.job" >"$tmp/out" 2>"$tmp/err"
check "zero board exit" 1 $?
check "zero board message" '   成品板尺寸不能为"0" ！   ' "$(cat "$tmp/err")"
check "zero board no csv" "" "$(cat "$tmp/out")"

sed -e 's/^Set_L=0/Set_L=4/' -e '/^Sheet/d' "$tmp/zero.job" >"$tmp/nosheet.job"
"$vp" search "$tmp/nosheet.job" >"$tmp/out" 2>"$tmp/err"
check "no sheet exit" 1 $?
check "no sheet message" '   请选定有效板材！！   ' "$(cat "$tmp/err")"

sed -e 's/^Set_C=0/Set_C=abc/' "$tmp/zero.job" >"$tmp/bad.job"
"$vp" search "$tmp/bad.job" >/dev/null 2>"$tmp/err"
check "malformed exit" 2 $?
check "malformed names the line" "1" "$(grep -c 'line 3: Set_C' "$tmp/err")"
grep -v '^Max_PW' "$tmp/zero.job" >"$tmp/missing.job"
"$vp" search "$tmp/missing.job" >/dev/null 2>"$tmp/err"
check "missing exit" 2 $?
check "missing names the value" "1" "$(grep -c 'Max_PW' "$tmp/err")"
printf 'Set_L=4\nSheet=48y36\n' >"$tmp/sheet.job"
"$vp" search "$tmp/sheet.job" >/dev/null 2>&1
check "malformed sheet exit" 2 $?
"$vp" search "$tmp/nonexistent.job" >/dev/null 2>&1
check "unreadable file exit" 2 $?
"$vp" search "$tmp" >/dev/null 2>"$tmp/err"
check "folder exit" 2 $?
check "folder named" "vornplan search: '$tmp' is a folder, not a job file" "$(cat "$tmp/err")"
"$vp" search "$tmp/nonexistent.job" >/dev/null 2>"$tmp/err"
check "missing file named" "vornplan search: cannot open '$tmp/nonexistent.job': No such file or directory" "$(cat "$tmp/err")"
# Flags in any letter case: lower-case true is on, as True is.
sed 's/=True$/=true/' "$jobs/j1.job" >"$tmp/lower.job"
check "lower-case true" "$("$vp" search "$jobs/j1.job" | md5sum)" "$("$vp" search "$tmp/lower.job" | md5sum)"
sed 's/^AUTOPanel=True$/AUTOPanel=yes/' "$jobs/j1.job" >"$tmp/yes.job"
"$vp" search "$tmp/yes.job" >"$tmp/out" 2>"$tmp/err"
check "flag typo exit" 2 $?
check "flag typo names the line" "1" "$(grep -c "line [0-9]*: AUTOPanel must be True or False: 'yes'" "$tmp/err")"
check "flag typo no csv" "" "$(cat "$tmp/out")"
# The help read whole first: grep -q leaves early, and with pipefail the
# writer's broken pipe would fail the check now and then.
help=$("$vp" search --help)
check "search help exit" 0 $?
grep -q "PLPW_ratio" <<<"$help"
check "search help" 0 $?

printf '# array job\npart_l=1\nPart_W=0.8\nPart_C=0.1\nSetBorder_L=0.2\nSetBorder_W=0.2\nMin_SetL=2\nMin_SetW=1.5\nMax_SetL=4\nMax_SetW=3\n' >"$tmp/array.job"
arr=$("$vp" arrays "$tmp/array.job")
check "arrays exit" 0 $?
check "arrays header" "Number,Part_L,Part_W,Part_C,SetBorder_L,SetBorder_W,Set_L,Set_W,Part_La,Part_Wb,Part_Lb,Part_Wa,Panel,Panel_lv,Panel_Down" "$(head -1 <<<"$arr")"
check "arrays rows" "6" "$(wc -l <<<"$arr")"

# A full disk: exit 2 and one line on stderr, never 0 with a cut output.
for args in "search $jobs/j1.job" "arrays $tmp/array.job" "layout 4 2 0 0 0 10 7"; do
    # shellcheck disable=SC2086
    "$vp" $args >/dev/full 2>"$tmp/err"
    check "$args to a full disk exit" 2 $?
    check "$args to a full disk message" "vornplan ${args%% *}: standard output could not be written: No space left on device" "$(cat "$tmp/err")"
done
sed 's/^Part_W=0.8/Part_W=0/' "$tmp/array.job" >"$tmp/array0.job"
"$vp" arrays "$tmp/array0.job" >/dev/null 2>"$tmp/err"
check "zero unit exit" 1 $?
check "zero unit message" '   单元尺寸不能为"0" ！   ' "$(cat "$tmp/err")"

# The input domain: a value outside its range is refused with exit 2 and one
# line naming the field and the allowed range; just inside, the search runs.
domain() { # name, sed expression, expected exit, expected text on stderr ("" for none), unit option
    sed -e "$2" "$jobs/j1.job" >"$tmp/domain.job"
    "$vp" search ${5:-} "$tmp/domain.job" >"$tmp/out" 2>"$tmp/err"
    check "$1 exit" "$3" $?
    if [ -n "$4" ]; then
        check "$1 message" "1 1" "$(wc -l <"$tmp/err") $(grep -c -- "$4" "$tmp/err")"
    else
        check "$1 quiet" "" "$(cat "$tmp/err")"
    fi
}
domain "Set_L 1e9" 's/^Set_L=4/Set_L=1e9/' 2 "Set_L = 1000000000 is outside the allowed range 0.001 to 10000 in"
domain "Set_L 10000" 's/^Set_L=4/Set_L=10000/' 0 ""
domain "Set_W below 0.001" 's/^Set_W=2/Set_W=0.000999/' 2 "Set_W = 0.000999 is outside"
domain "Set_C 1e9" 's/^Set_C=0.1/Set_C=1e9/' 2 "Set_C = 1000000000 is outside the allowed range 0 to 10000 in"
domain "Min_lv 1e9" 's/^Min_lv=0/Min_lv=1e9/' 2 "Min_lv = 1000000000 is outside the allowed range 0 to 100"
domain "Min_lv 100" 's/^Min_lv=0/Min_lv=100/' 0 ""
domain "Min_PL 1e9" 's/^Min_PL=8/Min_PL=1e9/' 2 "Min_PL = 1000000000 is outside"
domain "Max_PL 1e9" 's/^Max_PL=24/Max_PL=1e9/' 2 "Max_PL = 1000000000 is outside"
# One panel kind walks no further than a board cell beyond the largest sheet;
# two kinds walk to the limits.
domain "Max_PL 10000" 's/^Max_PL=24/Max_PL=10000/' 0 ""
domain "Max_PL 10000, two kinds" 's/^Max_PL=24/Max_PL=10000/; s/^PanelNumber=1/PanelNumber=2/' 2 "too many boards along a side"
domain "ratio below 1" 's/^PLPW_ratio=2.5/PLPW_ratio=0.99/' 2 "PLPW_ratio = 0.99 is below the allowed minimum 1"
domain "PanelNumber 3" 's/^PanelNumber=1/PanelNumber=3/' 2 "line 13: PanelNumber must be 1 or 2: '3'"
domain "PanelNumber abc" 's/^PanelNumber=1/PanelNumber=abc/' 2 "PanelNumber must be 1 or 2"
domain "tiny sheet" 's/^Sheet=48x36/Sheet=1e-320x1e-320/' 2 "sheet Base_L = .* is outside"
domain "mm Set_W 0.0254" 's/^Set_W=2/Set_W=0.0254/;s/^Set_L=4/Set_L=101.6/' 0 "" --mm
domain "mm Set_L 254001" 's/^Set_L=4/Set_L=254001/' 2 "Set_L = 254001 is outside the allowed range 0.0254 to 254000 mm" --mm
grep -q "0.001 to 10000 in" <<<"$help"
check "search help names the bounds" 0 $?

# Any ratio above the real need gives the rows of a large one (50 for j1).
sed 's/^PLPW_ratio=2.5/PLPW_ratio=1e9/' "$jobs/j1.job" >"$tmp/ratio.job"
sed 's/^PLPW_ratio=2.5/PLPW_ratio=1000/' "$jobs/j1.job" >"$tmp/ratio1000.job"
check "ratio 1e9 rows" "51" "$("$vp" search "$tmp/ratio.job" | wc -l)"
check "ratio 1e9 as 1000" "$("$vp" search "$tmp/ratio1000.job" | md5sum)" "$("$vp" search "$tmp/ratio.job" | md5sum)"

# layout refuses a negative gap instead of counting 133 boards.
"$vp" layout 4 2 -1 0.5 0.5 24 21 >"$tmp/out" 2>"$tmp/err"
check "layout negative gap exit" 2 $?
check "layout negative gap message" "vornplan layout: C = -1 is outside the allowed range 0 to 10000 in" "$(cat "$tmp/err")"
check "layout negative gap no output" "" "$(cat "$tmp/out")"
"$vp" layout 4 2 0 0 0 1e-320 7 >/dev/null 2>&1
check "layout tiny container accepted" 0 $?
"$vp" layout 1e-9 1e-9 0 0 0 10 7 >/dev/null 2>&1
check "layout tiny piece exit" 2 $?

# Job files with a byte order mark and any line ends read as the plain file.
plain=$("$vp" search "$jobs/j1.job" | md5sum)
{ printf '\xEF\xBB\xBF'; sed 's/$/\r/' "$jobs/j1.job"; } >"$tmp/bom.job"
check "BOM and CR LF" "$plain" "$("$vp" search "$tmp/bom.job" | md5sum)"
tr '\n' '\r' <"$jobs/j1.job" >"$tmp/cr.job"
check "bare CR" "$plain" "$("$vp" search "$tmp/cr.job" | md5sum)"
printf 'Set_L=4\nSet_W=2\nSet_C=0.\0001\n' >"$tmp/nul.job"
"$vp" search "$tmp/nul.job" >/dev/null 2>"$tmp/err"
check "NUL shown as an escape" "vornplan search: $tmp/nul.job: line 3: Set_C is not a number: '0.\x001'" "$(cat "$tmp/err")"

# Ctrl+C: the search stops at its next look, exit 130, no CSV.
"$vp" search "$jobs/j4.job" >"$tmp/out" 2>"$tmp/err" &
pid=$!
sleep 0.3
kill -INT "$pid"
wait "$pid"
check "interrupt exit" 130 $?
check "interrupt message" "vornplan search: interrupted" "$(cat "$tmp/err")"
check "interrupt no CSV" "" "$(cat "$tmp/out")"

[ "$fails" -eq 0 ] && echo "all vornplan checks passed"
exit $((fails > 0))
