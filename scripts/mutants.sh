#!/usr/bin/env bash
# Mutation table: proves the suite is sharp. Each row below puts one deliberate
# fault into a scratch copy of the tree (a perl substitution on one or two
# files), rebuilds only the test programs that should notice, runs them, and
# prints the first failing test, or SURVIVED when every test still passed. A
# survivor is a rule without a test. The scratch tree and its build stay in
# build-mutants/ (reused and refreshed on the next run).
# Usage: scripts/mutants.sh [name filter (a regular expression)]
# Needs ./test.sh to have run once (its build/data is reused); exit code 1 if
# any fault survived.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
filter=${1:-.}
scratch="$root/build-mutants/tree"
build="$root/build-mutants/build"
export SDL_AUDIODRIVER=dummy

# name @ file @ perl substitution @ test programs (a program may carry a
#   :gtest filter, and NAME=value sets the environment of the programs after
#   it, SCREEN their display's size); a second "file @ substitution" pair may
#   follow the programs.
MUTANTS=$(
    cat <<'EOF'
troop price 31@battle/economy.h@s/TROOP_PRICE = 30/TROOP_PRICE = 31/@battle_economy_test
buy cooldown 1.9 s@battle/economy.cpp@s/BUY_COOLDOWN = 2;/BUY_COOLDOWN = 1.9f;/@battle_economy_test
income every 0.6 s@battle/economy.cpp@s/INCOME_PERIOD = 0.5f/INCOME_PERIOD = 0.6f/@battle_economy_test
income cap 999@battle/economy.cpp@s/INCOME_CAP = 1000/INCOME_CAP = 999/@battle_economy_test
type bonus 6, not 7@battle/lane_combat.cpp@s/MATCHUP_EXTRA_DAMAGE = 7/MATCHUP_EXTRA_DAMAGE = 6/@battle_combat_test
upgrade 220 becomes 230@battle/economy.cpp@s/UPGRADE_PRICE_STEP = 120/UPGRADE_PRICE_STEP = 130/@battle_economy_test
Wisemen discount 10@battle/level_setup.cpp@s/UPGRADE_DISCOUNT = 20/UPGRADE_DISCOUNT = 10/@battle_levels_test
Noblemen income bonus lost@battle/level_setup.cpp@s/INCOME_BONUS = 1,/INCOME_BONUS = 0,/@battle_levels_test
tier 5/5 click takes money@battle/economy.cpp@s/TierOf\(type\) >= TIER_COUNT - 1/TierOf(type) > TIER_COUNT - 1/@battle_economy_test
thief band boundary 70 -> 71@battle/thief.cpp@s/\{70, "Coin\+100"/{71, "Coin+100"/@battle_thief_test
only-one-thief check removed@battle/economy.cpp@s/ \|\| BattleState::thiefOut\)/)/@battle_thief_test
catapult first rock at 11 s@battle/catapult.cpp@s/FIRST_ROCK_SECONDS = 10/FIRST_ROCK_SECONDS = 11/@battle_catapult_test
rock damage 29@battle/catapult.cpp@s/ROCK_DAMAGE = 30/ROCK_DAMAGE = 29/@battle_catapult_test
banner rule inverted@battle/lane_combat.cpp@s/state->alliedCrossings > state->enemyCrossings/state->alliedCrossings < state->enemyCrossings/@battle_combat_test
Workers castle 300@battle/level_setup.cpp@s/CASTLE_HEALTH_BONUS = 30/CASTLE_HEALTH_BONUS = 0/@battle_castle_test battle_levels_test
Warriors bonus lost on level 2@battle/level_setup.cpp@s/if \(!state->level->setsEveryBonus\) return;/if (!state->level->setsEveryBonus) { BattleState::damageBonus = 0; return; }/@battle_levels_test
a death paid twice@battle/lane_combat.cpp@s/BattleState::money \+= KILL_REWARD;/BattleState::money += 2 * KILL_REWARD;/@battle_combat_test
enemy wait 8 + rand % 20@battle/battle_state.cpp@s/(true,\n\s+true,\n\s+20,\n\s+)7,/${1}8,/@battle_enemy_test
menu music flag never cleared@battle/level_setup.cpp@s/    menuMusicStarted = false;\n//@doors_test@screens/main_menu.cpp@s/    menuMusicStarted = false;\n//
restart keeps the battle's end@battle/level_setup.cpp@s/    ClearBattleEndFlags\(\);\n//@campaign_test:*CurtainRestart*
win track doubled on R@screens/win_lose.cpp@s/    StopChannel\(state.musicChannel\);\n//@campaign_test:*RestartedScreens*
effects start at full volume@battle/economy.cpp@s/const float level = BattleEffectLevel\(\);/const float level = 1.0f;/@campaign_test:*NewChannels*
scroll never unrolls without its animation@screens/pause_menu.cpp@s/        scroll->ended = 1;\n//@bad_data_test:*Scroll*
pause scroll's sheets never read@screens/pause_menu.cpp@s/    LoadPausePictures\(PausePictures::SCROLL\);\n//@pause_test
settings and exit pages' scroll never read@screens/pause_menu.cpp@s/    LoadPausePictures\(PausePictures::PAGES\);\n//g@pause_test
how-to-play page never read@screens/pause_menu.cpp@s/    LoadPausePictures\(PausePictures::HOW_TO_PLAY\);\n//@pause_test
credits pictures never read@screens/pause_menu.cpp@s/    LoadPausePictures\(PausePictures::CREDITS\);\n//@pause_test
pause pictures read again at every opening@battle/level_setup.cpp@s/    if \(pauseGroupsRead & bit\) return;\n//@pause_test leak_tour_test
an Unload forgets a texture@screens/how_to_play.cpp@s/    UnloadTexture\(backTexture\);\n//@leak_tour_test
background sound never handed to its slot@engine/audio/sound.cpp@s/\*load->slot = CacheSound\(load->path.c_str\(\), load->data\);/(void)load->slot;/@sound_test
background sound's slot left as it was until the end@engine/audio/sound.cpp@s/    \*slot = nullptr;\n    if \(!audioSystem/    if (!audioSystem/@sound_test
level music still decoding when the level starts@battle/level_setup.cpp@s/    FinishSoundLoads\(\);\n//@battle_levels_test
renderer: a closed debug window left on the screen@engine/debug_ui.cpp@s/    BatchStateChangedOutside\(\); \/\/ the window is more than the frame: the next is shown\n//@graphics_device_test
menu tracks still decoding when the menu starts@screens/main_menu.cpp@s/    FinishSoundLoads\(\);\n//@main_menu_test doors_test
end screen's music still decoding when it starts@screens/win_lose.cpp@s/    LoadEndScreen\(LOSE_TABLE, loseAssets\);\n    FinishSoundLoads\(\);/    LoadEndScreen(LOSE_TABLE, loseAssets);/@win_lose_test
frames beyond rows x columns accepted@objects/animation.cpp@s/frameCount > cells\)/frameCount > cells + 1)/@animation_test
renderer: one run across two textures@engine/graphics/sprite_batch.cpp@s/a.texture != b.texture \|\| //@picture_test:*AtThisSize
renderer: texture taken as bound already@engine/graphics/sprite_batch.cpp@s/if \(Differs\(gl.texture, name\)\)/if (!gl.valid)/@picture_test:*AtThisSize
renderer: blending left as the last run had it@engine/graphics/sprite_batch.cpp@s/if \(Differs\(gl.blend, s.blend\)\)/if (!gl.valid)/@picture_test:*AtThisSize
renderer: page read without its border@engine/graphics/texture_pages.cpp@s/\(float\)\(p.y \+ BORDER\) \/ height/(float)p.y \/ height/@picture_test:*AtThisSize
renderer: nearest texels for a scaled picture@engine/graphics/mesh.cpp@s/std::fabs\(std::fabs\(t.m\[0\]\[0\]\) \* texture.width - width\) < 1e-3f &&\n\s+std::fabs\(std::fabs\(t.m\[1\]\[1\]\) \* texture.height - height\) < 1e-3f &&//@MORROW_TEST_WINDOW=1280x720 picture_test:*AtThisSize
renderer: a faded opaque picture unblended@engine/graphics/mesh.cpp@s/ && \(!useTint \|\| \(tintColor >> 24\) == 0xFF\)//@graphics_device_test
renderer: culled by the wrong edge@engine/graphics/scene.cpp@s/return right < visible.left - 1/return left < visible.left - 1/@picture_test:*AtThisSize
renderer: no scene clip@engine/graphics/scene.cpp@s/if \(!sceneClipOn \|\| sceneClipLifted\) return false;/return false;/@SCREEN=1280x1024 picture_test:*AtThisSize
renderer: a frame's GL errors unchecked@engine/graphics/sprite_batch.cpp@s/    wholeFrame = clearPending = false;\n    CheckGLError\(\);/    wholeFrame = clearPending = false;/@graphics_device_test
renderer: viewport kept after a resize@engine/graphics/device.cpp@s/        viewportWidth = width, viewportHeight = height;\n//@picture_test:*AtThisSize
renderer: half turns sheared by float pi@engine/graphics/device.cpp@s/    if \(std::fabs\(s\) < rounding\) s = 0;\n//@picture_test:*Every*
renderer: trim without its one-texel margin@engine/graphics/texture_pages.cpp@s/COVER_CELL\) - 1;/COVER_CELL);/; s/COVER_CELL - 1\) \+ 2;/COVER_CELL - 1) + 1;/@picture_test:*AtThisSize
renderer: trim box a cell short@engine/graphics/texture_pages.cpp@s/cells\[axis\]\[1\] \* COVER_CELL \+ COVER_CELL - 1/cells[axis][1] * COVER_CELL - 1/@picture_test:*AtThisSize
renderer: unchanged frames drawn again@engine/graphics/sprite_batch.cpp@s/held = comparable && Empty\(damage\)/held = false/@main_menu_test:*Unchanged*
renderer: a changed frame held@engine/graphics/sprite_batch.cpp@s/return shown.count == now.count &&/return true ||/@main_menu_test:*Unchanged*
renderer: a held frame read as it stands@engine/graphics/sprite_batch.cpp@s/    BatchFlush\(\);\n    Present\(true\);\n    held = false;/    BatchFlush();\n    held = false;/@main_menu_test:*Unchanged*
renderer: a piece's old place not drawn again@engine/graphics/sprite_batch.cpp@s/        for \(; i < k; i\+\+\)\n            damage = Union/        for (; i < k; i++)\n            (void)Union/@picture_test:*EveryScreen*
renderer: changed pieces' bounds without their margin@engine/graphics/sprite_batch.cpp@s/pixel\(x1, 0\) \+ 2, pixel\(y1, 1\) \+ 2/pixel(x1, 0), pixel(y1, 1)/@picture_test:*EveryScreen*
renderer: a window with sample buffers drawn through the canvas@engine/graphics/sprite_batch.cpp@s/drawStraight = sampleBuffers > 0;/drawStraight = false;/@MORROW_TEST_WINDOW=1280x720 MORROW_TEST_SAMPLES=4 picture_test:*AtThisSize
renderer: a partly drawn frame cleared whole@engine/graphics/sprite_batch.cpp@s/Scissor\(\{\}, only\)\)/Scissor({}, nullptr))/@picture_test:*EveryScreen*
renderer: window events keep a held frame@engine/platform/sdl_window.cpp@s/windowEvents = windowEvents \|\| event.type == SDL_WINDOWEVENT;//@main_menu_test:*Unchanged*
the book's Back leads to the house selection@screens/how_to_play.cpp@s/if \(IsClicked\(backButton\)\) nextState = GS_MAIN_MENU;/if (IsClicked(backButton)) nextState = GS_HOUSE_SELECT;/@doors_test
Next level after level 2 plays level 2 again@screens/win_lose.cpp@s/\{GS_LEVEL2, &toLevel3, GS_LEVEL3\}/{GS_LEVEL2, \&toLevel3, GS_LEVEL2}/@doors_test
the credits' end leads to the house selection@screens/logo_credits.cpp@s/        nextState = GS_MAIN_MENU;/        nextState = GS_HOUSE_SELECT;/@doors_test
a locked catapult clicks@battle/catapult.cpp@s/bool clicked = IsClickedOver\(/bool clicked = IsClicked(/@battle_catapult_test
frame ends after its sleep, short of its minimum@app/game_state.cpp@s/while \(elapsed < frameTimeMin\) \{/if (elapsed < frameTimeMin) {/@app_state_manager_test:*RealClock*
frame sleeps its spin too@app/game_state.cpp@s/PlatformSleep\(remaining - spin\)/PlatformSleep(remaining + 0.02)/@app_state_manager_test:*RealClock*
level 2's labels black@battle/battle_state.cpp@s/HUD_WHITE,/HUD_BLACK,/@hud_test:*Colours*
field still never read when the field animation fails@battle/level_setup.cpp@s/        battleAssets.background = LoadTexture\(FIELD_STILL\);\n//@bad_data_test:*Field*
every loaded picture taken as opaque@engine/graphics/texture.cpp@s/return \(alphas >> 24\) == 0xFF;\n}\n\n\/\/ A listed/return true;\n}\n\n\/\/ A listed/@picture_test:*AtThisSize
EOF
)

# Copies the tracked tree (with uncommitted changes) into the scratch folder,
# and deletes what the tree no longer has: a stale source would still be built.
refresh_scratch() {
    local files
    mkdir -p "$scratch"
    files=$(cd "$root" && git ls-files -co --exclude-standard | grep -v '^build' | sort)
    (cd "$scratch" && find . -type f | sed 's#^\./##' | sort | comm -23 - <(echo "$files") |
        xargs -r -d '\n' rm -f)
    (cd "$root" && tar -cf - -T - <<<"$files") | tar -xf - -C "$scratch"
}

# Runs the test programs of one row; prints the first failure or SURVIVED.
run_programs() {
    local program filter name out
    for program in "$@"; do
        [[ $program == *=* ]] && export "${program?}" && continue # in this row's subshell
        name=${program%%:*}
        filter='*'
        [ "$name" != "$program" ] && filter=${program#*:}
        out=$(cd "$build" && xvfb-run -a -s "-screen 0 ${SCREEN:-1920x1080}x24" \
            "$build/tests/$name" --gtest_filter="$filter" --gtest_brief=1 2>&1)
        if grep -q '^\[  FAILED  \]' <<<"$out"; then
            echo "caught by $name: $(grep -m1 '^\[  FAILED  \]' <<<"$out" | sed 's/^\[  FAILED  \] //; s/, where GetParam.*//; s/ (.*//')"
            return 0
        fi
        if ! grep -q '^\[  PASSED  \]' <<<"$out"; then
            echo "caught by $name: the program did not finish ($(tail -1 <<<"$out"))"
            return 0
        fi
    done
    echo "SURVIVED"
    return 1
}

refresh_scratch
cmake -S "$scratch" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 2
# The faults touch no asset: the tests read the data folder ./test.sh made.
[ -e "$build/data" ] || ln -s "$root/build/data" "$build/data"
survivors=0
printf '| fault | result |\n|---|---|\n'
while IFS='@' read -r name file subst programs file2 subst2; do
    [ -z "$name" ] && continue
    grep -Eq -- "$filter" <<<"$name" || continue
    read -r -a list <<<"$programs"
    targets=()
    for p in "${list[@]}"; do [[ $p == *=* ]] || targets+=("${p%%:*}"); done
    cp "$root/$file" "$scratch/$file"
    perl -0pi -e "$subst" "$scratch/$file"
    if [ -n "${file2:-}" ]; then
        cp "$root/$file2" "$scratch/$file2"
        perl -0pi -e "$subst2" "$scratch/$file2"
    fi
    if cmp -s "$root/$file" "$scratch/$file"; then
        result="NOT APPLIED (the pattern no longer matches $file)"
        survivors=$((survivors + 1))
    elif ! cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" >/dev/null 2>&1; then
        result="NOT BUILT (the fault does not compile)"
        survivors=$((survivors + 1))
    else
        result=$(run_programs "${list[@]}") || survivors=$((survivors + 1))
    fi
    printf '| %s | %s |\n' "$name" "$result"
    cp "$root/$file" "$scratch/$file"
    [ -n "${file2:-}" ] && cp "$root/$file2" "$scratch/$file2"
done <<<"$MUTANTS"
echo
echo "$survivors survived or could not be tried"
[ "$survivors" -eq 0 ]
