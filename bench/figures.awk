# Turns a Google Benchmark JSON report (--benchmark_out_format=json) into
# "key value" lines, one per figure:
#
#   PREFIX.RUN.ms        the median wall time in milliseconds
#   PREFIX.RUN.cpu       the median CPU time of the benchmark thread, in ms
#   PREFIX.RUN.COUNTER   the median of a user counter
#
# RUN is the run name without the iteration and repetition settings that
# Google Benchmark adds ("BM_Render/0", "BM_ClickHeadArrow"). A report with
# repetitions contributes its median aggregates; one without contributes its
# single runs. An entry that ended in an error is left out.
#
#   awk -v prefix=bench_demo -f bench/figures.awk build-rel/bench-results/bench_demo.json

function unit_to_ms(u) {
  if (u == "ns") return 1e-6
  if (u == "us") return 1e-3
  if (u == "s") return 1e3
  return 1
}

function flush(   k, name) {
  if (!inEntry) return
  inEntry = 0
  if (error || run == "") return
  if (type == "aggregate" && aggregate != "median") return
  name = run
  sub(/\/iterations:[^\/]*/, "", name)
  sub(/\/repeats:[^\/]*/, "", name)
  sub(/\/min_time:[^\/]*/, "", name)
  sub(/\/manual_time/, "", name)
  sub(/\/real_time/, "", name)
  printf "%s.%s.ms %.9g\n", prefix, name, real * unit_to_ms(tunit)
  printf "%s.%s.cpu %.9g\n", prefix, name, cpu * unit_to_ms(tunit)
  for (k in counters) printf "%s.%s.%s %.9g\n", prefix, name, k, counters[k]
}

# The value after "key": on the current line, without quotes or comma.
function value(   v) {
  v = $0
  sub(/^[^:]*:[ ]*/, "", v)
  sub(/,[ ]*$/, "", v)
  gsub(/"/, "", v)
  return v
}

/^  "benchmarks": \[/ { inBenchmarks = 1; next }
!inBenchmarks { next }

/^    \{/ {
  inEntry = 1; run = ""; type = ""; aggregate = ""; error = 0
  real = 0; cpu = 0; tunit = "ms"
  split("", counters)
  next
}
/^    \}/ { flush(); next }

inEntry && /^      "/ {
  key = $0
  sub(/^ *"/, "", key)
  sub(/".*/, "", key)
  if (key == "run_name") run = value()
  else if (key == "run_type") type = value()
  else if (key == "aggregate_name") aggregate = value()
  else if (key == "real_time") real = value() + 0
  else if (key == "cpu_time") cpu = value() + 0
  else if (key == "time_unit") tunit = value()
  else if (key == "error_occurred") error = (value() == "true")
  else if (key !~ /^(name|family_index|per_family_instance_index|repetitions|repetition_index|threads|iterations|aggregate_unit|label|error_message)$/) {
    counters[key] = value() + 0
  }
}
