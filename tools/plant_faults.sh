#!/usr/bin/env bash
# Plants faults in a scratch copy of the game one at a time (a sed expression on one file each)
# and reports which the headless tests catch. The work tree is never touched.
# Usage: [FAULT_FILTER=REGEX] tools/plant_faults.sh [SCRATCH_DIR]; the filter picks faults.
set -uo pipefail
SRC=$(cd "$(dirname "$0")/.." && pwd)
WORK=${1:-/tmp/rebrik-faults}
FAULTS=(
    "src/questions/questions.h|s/QUESTION_LINE_MAX = 54/QUESTION_LINE_MAX = 55/"
    "src/questions/questions.h|s/ANSWER_MAX = 24/ANSWER_MAX = 23/"
    "src/questions/questions.h|s/MIN_QUESTIONS = 6/MIN_QUESTIONS = 5/"
    "src/questions/loader.cpp|s/text\\[r->at\\] == '\\\\n'/text[r->at] == '\\\\r'/"
    "src/questions/tier.cpp|s/zo suboru %s\\\\n/zo suboru %s/"
    "src/questions/draw.cpp|s/s = (s + 1) % 4/s = (s + 3) % 4/"
    "src/questions/draw.cpp|s/q = (q + 1) % question_count/q = (q + question_count - 1) % question_count/"
    "src/game/turn.cpp|s/(correct_slot + rand() % 3 + 1) % 4/(correct_slot + 0 * rand() + 1) % 4/"
    "src/game/turn.cpp|0,/present_for_ticks(30)/s//present_for_ticks(31)/"
    "src/game/turn.cpp|s/level - ((level - 1) % 5 + 1)/level - ((level - 1) % 5)/"
    "src/game/turn.cpp|s/recent_questions\\[0\\] = recent_questions\\[level % 5\\];//"
    "src/game/turn.cpp|s/if (safe_row_reached)$/if (level % 5 == 2)/"
    "src/game/turn.cpp|s/if (lifelines_used \\& l.bit)/if (0)/"
    "src/app/input.cpp|s/px <= x + w/px < x + w/"
    "src/app/input.cpp|s/int prev = inputs_down(set);/int prev = 0;/"
    "src/app/input.cpp|s/int prev = inputs_down(set);/int prev = inputs_down(set) \\& 1;/"
    "src/app/input.cpp|s/{KEY_C, 2}/{KEY_C, 3}/"
    "src/app/input.cpp|s/{KEY_BACKSPACE, AREA_NIE}/{KEY_BACKSPACE, AREA_ANO}/"
    "src/app/input.cpp|s/{KEY_ENTER, AREA_NONE},//"
    "src/gfx/frame.cpp|s/floor_div((long long)(mouse_x - view.left) \\* FRAME_W/floor_div((long long)(mouse_x - view.left + 1) * FRAME_W/"
    "src/gfx/frame.cpp|s/mouse_y - view.top/mouse_y + view.top/"
    "src/gfx/frame.cpp|s/to\\[i \\* s + k\\] = from\\[i\\]/to[i * s + k] = from[i + (k > 2)]/"
    "src/gfx/frame.cpp|/copy_to_screen(was.x/{n;s/if (pointer_drawn.inside)/if (0)/}"
    "src/gfx/frame.cpp|s/if (was.inside)/if (0)/"
    "src/game/turn.cpp|/play_effect(EFFECT_TENSION)/d;s/^    blink_correct();/    blink_correct();play_effect(EFFECT_TENSION);/"
    "src/game/turn.cpp|s/play_effect(l.effect)/play_effect(EFFECT_FIFTY)/"
    "src/game/turn.cpp|s/play_effect(safe_row_reached ? /play_effect(level % 5 == 0 ? /"
    "src/app/main.cpp|s/graficky mod\\\\n\";/graficky mod\";/"
    "src/gfx/panel.cpp|s/0.75f/0.76f/"
    "src/gfx/panel.cpp|s/505, y0 + 3/506, y0 + 3/"
    "src/gfx/text.cpp|s/{\"Si si isty?\", 250, 160}/{\"Si si isty?\", 251, 160}/"
    "src/gfx/text.cpp|s/ONE_LINE_Y = 276/ONE_LINE_Y = 277/"
    "src/gfx/text.cpp|s/{LIFELINE_FIFTY, 0}, {LIFELINE_SWITCH, 1}/{LIFELINE_SWITCH, 0}, {LIFELINE_FIFTY, 1}/"
    "src/gfx/text.cpp|s/347, 450/347, 451/"
    "src/gfx/banner.cpp|s/step) \\/ 100.0/step) \\/ 101.0/"
    "src/gfx/banner.cpp|s/fade(a, 0, 99, 5)/fade(a, 0, 100, 5)/"
    "src/app/input.cpp|s/while ((mouse_b \\& 1) \\&\\&/while (0 \\&\\&/"
    "src/app/input.cpp|s/int held = leave_keys_down()/int held = 0/"
    "src/gfx/resources.cpp|s/background_image->w != FRAME_W/background_image->w < FRAME_W/"
    "src/gfx/resources.cpp|s/lifeline_sheet->h < 4/lifeline_sheet->h < 3/"
    "src/gfx/resources.cpp|s/0, 3 \\* q, 0, 0, w, q/0, 2 * q, 0, 0, w, q/"
    "src/gfx/frame.cpp|s/floor_p += /floor_p -= /"
)
# A fault whose text the code no longer holds would be skipped unnoticed: it fails the script,
# before anything is built.
for f in "${FAULTS[@]}"; do
    [[ -n ${FAULT_FILTER:-} && ! $f =~ $FAULT_FILTER ]] && continue
    file=$SRC/${f%%|*}
    if [ ! -f "$file" ] || sed "${f#*|}" "$file" | cmp -s - "$file"; then
        echo "CANNOT PLANT: $f" && unplantable=1
    fi
done
[ -z "${unplantable:-}" ] || exit 1
rm -rf "$WORK" && mkdir -p "$WORK" && (cd "$SRC" && git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$WORK")
cmake -S "$WORK" -B "$WORK/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
caught=0 planted=0
for f in "${FAULTS[@]}"; do
    [[ -n ${FAULT_FILTER:-} && ! $f =~ $FAULT_FILTER ]] && continue
    file=${f%%|*} expr=${f#*|}
    cp "$SRC/$file" "$WORK/$file"
    sed -i "$expr" "$WORK/$file"
    planted=$((planted + 1))
    result=missed
    if ! cmake --build "$WORK/build" -j2 --target rebrik_tests rebrik >/dev/null 2>&1; then
        result="caught (build)"
    elif ! (cd "$WORK/build/tests" && timeout 600 ./rebrik_tests --gtest_filter=-Soak.* >/dev/null 2>&1); then
        result=caught
    fi
    [[ $result == missed ]] || caught=$((caught + 1))
    echo "$result: $f"
    cp "$SRC/$file" "$WORK/$file"
done
echo "$caught of $planted planted faults caught"
