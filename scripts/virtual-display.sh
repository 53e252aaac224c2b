# shellcheck shell=bash
# Sourced by scripts/run (and by the test of it, tests/tools): the virtual
# display of a run without a display, and the ending of what a run started,
# so that nothing of one run is left when the next one starts.
#
#   start_display WIDTH HEIGHT FOLDER  starts Xvfb, sets xvfb_pid, exports
#                                      DISPLAY (its log: FOLDER/xvfb.log)
#   end_display                        ends it and waits until it has gone
#   end_all LIMIT PID...               ends processes and waits for them
#   running PID                        whether a process still runs
#
# A message about a process names it by ${names[PID]} when the caller keeps
# such an associative array.

xvfb_pid=""

# running PID: the process has not ended (one that has ended but is not yet
# collected by its parent counts as ended).
running() {
  local state
  state=$(sed -n 's/^State:[[:space:]]*\([A-Z]\).*/\1/p' "/proc/$1/status" 2>/dev/null)
  [ -n "$state" ] && [ "$state" != Z ] && [ "$state" != X ]
}

# children PID: the processes that PID started and that still run.
children() {
  cat /proc/"$1"/task/*/children 2>/dev/null
}

# process_name PID: what a message calls the process.
process_name() {
  local name=""
  # shellcheck disable=SC2154 # names: the caller's, when it keeps one
  if [ "$1" = "$xvfb_pid" ]; then
    name=Xvfb
  elif declare -p names >/dev/null 2>&1; then
    name=${names[$1]:-}
  fi
  echo "${name:-Process $1}"
}

# end_all LIMIT PID...: asks each process to end (SIGTERM), waits up to LIMIT
# seconds until each of them, and each process it had started, has ended,
# kills (SIGKILL) whichever is still there and collects them all: none of
# them runs any more when this returns.
end_all() {
  local limit=$1 pid child all=() left tries
  shift
  [ "$#" -gt 0 ] || return 0
  for pid in "$@"; do
    all+=("$pid")
    for child in $(children "$pid"); do all+=("$child"); done
  done
  for pid in "$@"; do kill -TERM "$pid" 2>/dev/null; done
  for ((tries = limit * 10; tries > 0; tries--)); do
    left=0
    for pid in "${all[@]}"; do
      if running "$pid"; then
        left=1
        break
      fi
    done
    [ "$left" -eq 0 ] && break
    sleep 0.1
  done
  for pid in "${all[@]}"; do
    if running "$pid"; then
      echo "$(process_name "$pid") did not end within $limit s of SIGTERM; killed." >&2
      kill -KILL "$pid" 2>/dev/null
    fi
  done
  # A killed process is gone at once, unless the kernel holds it in a call
  # (seconds at most); then the caller's own children are collected (wait
  # does nothing for the others).
  for pid in "${all[@]}"; do
    for ((tries = 50; tries > 0; tries--)); do
      running "$pid" || break
      sleep 0.1
    done
    running "$pid" || wait "$pid" 2>/dev/null
  done
  return 0
}

# start_display WIDTH HEIGHT FOLDER: starts Xvfb with a screen of that size on
# a display number it picks itself (-displayfd: the first one whose socket no
# running server holds, so never one that a server still going away holds)
# and exports DISPLAY once the display answers: a program that cannot open
# it ends at once, and a first start on a fresh machine can be slow. Xvfb
# runs as a job of the caller's shell, so that end_display can wait for it by
# its process id. -noreset: Xvfb would otherwise reset itself whenever its
# last client leaves, the answer to the first check included, and refuse
# the programs that connect meanwhile ("could not connect to display").
# A start that fails (Xvfb ends, or its display does not answer) is tried
# again, three times in all.
start_display() {
  local width=$1 height=$2 folder=$3 try number
  local number_file="$folder/xvfb.display" log="$folder/xvfb.log"
  for try in 1 2 3; do
    : >"$number_file"
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${width}x${height}x24" \
      3>"$number_file" 2>"$log" &
    xvfb_pid=$!
    # The number comes as one line (read fails until its line end is there).
    number=""
    for _ in $(seq 1 100); do
      read -r number < "$number_file" 2>/dev/null && break
      number=""
      running "$xvfb_pid" || break
      sleep 0.2
    done
    if [ -n "$number" ]; then
      export DISPLAY=":$number"
      for _ in $(seq 1 100); do
        running "$xvfb_pid" || break
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.2
      done
      echo "The virtual display $DISPLAY does not answer (try $try of 3):" >&2
    else
      echo "Xvfb did not start (try $try of 3):" >&2
    fi
    cat "$log" >&2
    end_display
  done
  return 1
}

# end_display: ends the virtual display and waits until it has gone.
end_display() {
  [ -n "$xvfb_pid" ] || return 0
  end_all 10 "$xvfb_pid"
  xvfb_pid=""
}
