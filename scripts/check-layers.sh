#!/usr/bin/env bash
# Fails when a file under src/ includes a header of a higher layer (or of a folder that has no
# place in the order), so that every layer builds on the ones below it alone. The order is the
# README's, lowest first; folders on one line share a layer and may include each other.
set -eu
root=${1:-"$(dirname "$0")/.."}
layers=(
  "platform"
  "object types container math"
  "io"
  "system"
  "application"
  "physics"
  "graphics geometry graphics3d"
  "freetype"
  "gui gui3d"
  "demo"
)
declare -A rank
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do
    rank[$folder]=$i
  done
done

status=0
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  from=${file#"$root/src/"}
  from=${from%%/*}
  to=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"${rest#*:}")
  if [[ -z ${rank[$from]:-} || -z ${rank[$to]:-} ]]; then
    echo "$file:$line: $from or $to has no place in the layer order of scripts/check-layers.sh"
    status=1
  elif ((rank[$to] > rank[$from])); then
    echo "$file:$line: $from includes $to, a higher layer"
    status=1
  fi
done < <(grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]+/' "$root/src")
exit $status
