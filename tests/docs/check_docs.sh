#!/usr/bin/env bash
# The README and docs/ name settings and options a player will type: they
# must be the ones the game has. Keys: every key the game reads from
# config.ini is in the settings page's table, and nothing else is. Options:
# the README's are exactly those --help lists, and every "blastarena --x" in
# docs/ is one of them. Links from the README to docs/ lead somewhere.
# Usage: check_docs.sh SOURCE_DIR GAME
set -euo pipefail
src=$1 game=$2
failed=0
say() { echo "check_docs: $*" >&2; failed=1; }

# The keys, from the code that reads the configuration: literals on lines
# that ask Allegro for a value or fill a table of key names.
mapfile -t readers < <(grep -rl 'get_config_int\|get_config_string' "$src/src")
[ ${#readers[@]} -gt 0 ] || { echo "check_docs: no code reads config.ini" >&2; exit 1; }
code_keys=$(grep -h 'get_config_\|{"' "${readers[@]}" | grep -oE '"[a-z][a-z0-9]*"' | tr -d '"' | sort -u)
count=$(wc -l <<<"$code_keys")
# Fewer than this means the pattern above no longer finds the tables.
[ "$count" -ge 25 ] || say "found only $count config keys in the code: $code_keys"
doc_keys=$(grep -oE '^\| `[a-z][a-z0-9]*` \|' "$src/docs/settings.md" | grep -oE '[a-z][a-z0-9]*' | sort -u)
missing=$(comm -23 <(echo "$code_keys") <(echo "$doc_keys"))
extra=$(comm -13 <(echo "$code_keys") <(echo "$doc_keys"))
[ -z "$missing" ] || say "keys the game reads but docs/settings.md does not list:" $missing
[ -z "$extra" ] || say "keys docs/settings.md lists but the game does not read:" $extra

# The options.
help_opts=$("$game" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u)
[ -n "$help_opts" ] || say "--help lists no options"
readme_opts=$(grep -oE -- '(^|[^a-z-])--[a-z][a-z-]*' "$src/README.md" | grep -oE -- '--[a-z][a-z-]*' | sort -u)
[ "$help_opts" = "$readme_opts" ] ||
    say "options in --help and in the README differ:" $(diff <(echo "$help_opts") <(echo "$readme_opts") | grep '^[<>]')
doc_opts=$(cat "$src"/docs/*.md | grep -oE -- 'blastarena( [^ `]+)* --[a-z][a-z-]*' | grep -oE -- '--[a-z][a-z-]*$' | sort -u)
unknown=$(comm -13 <(echo "$help_opts") <(echo "$doc_opts"))
[ -z "$unknown" ] || say "options docs/ shows that --help does not list:" $unknown

# Links to the pages.
while read -r link; do
    [ -e "$src/${link%%#*}" ] || say "README links to $link, which is not there"
done < <(grep -oE '\]\((docs/[^)]+)\)' "$src/README.md" | sed -E 's/^\]\(//; s/\)$//')

exit $failed
