# Builds the results table from a list of rows and the measured figures.
#
#   LC_ALL=C awk -f bench/table.awk ROWS FIGURES
#
# ROWS: one row per line, fields separated by "|":
#   label | unit | our key | peer name | peer key | check | target text
# A line "## TEXT" starts a section (a row with only its label, in bold).
# unit: ms, us (figure kept in ms, shown in microseconds), MB, s/min (CPU
# seconds per minute, also shown as a share of one core), instr or count (a
# count).
# check: "ratio<=X" (ours / peer at most X), "ratio<1" (ours below the
# peer's), "lt:X" (ours below X in the row's unit), "le:X" (at most X),
# "plus:X" (at most the peer's value plus X), or empty.
# FIGURES: "key value" lines (bench/figures.awk and the process measurements).
#
# Prints a Markdown table whose columns line up in a terminal as well.

function shown(v, unit,   x) {
  if (v == "") return "n/a"
  x = (unit == "us") ? v * 1000 : v
  if (unit == "instr" || unit == "count") return commas(sprintf("%.0f", x))
  if (unit == "s/min") return sprintf("%.3f s/min (%.2f %%)", x, x / 60 * 100)
  return sig3(x) " " (unit == "us" ? "µs" : unit)
}

function sig3(x) {
  if (x >= 100) return sprintf("%.0f", x)
  if (x >= 10) return sprintf("%.1f", x)
  if (x >= 1) return sprintf("%.2f", x)
  return sprintf("%.3g", x)
}

function commas(s,   out) {
  out = ""
  while (length(s) > 3) {
    out = "," substr(s, length(s) - 2) out
    s = substr(s, 1, length(s) - 3)
  }
  return s out
}

# Display width: UTF-8 continuation bytes take no column.
function width(s) {
  gsub(/[\200-\277]/, "", s)
  return length(s)
}

function spaces(n) { return n > 0 ? sprintf("%" n "s", "") : "" }

# Figures are right-aligned, words left-aligned.
function pad(s, w, c) {
  return (c == 2 || c == 4 || c == 5) ? spaces(w - width(s)) s : s spaces(w - width(s))
}

FNR == NR {
  rows[++nrows] = $0
  next
}
{ figure[$1] = $2 }

END {
  header[1] = "Figure"; header[2] = "ZUI"; header[3] = "Peer"; header[4] = "Peer value"
  header[5] = "ZUI ÷ peer"; header[6] = "Target"; header[7] = "Met"
  ncols = 7
  for (c = 1; c <= ncols; ++c) w[c] = width(header[c])
  for (r = 1; r <= nrows; ++r) {
    line = rows[r]
    if (line ~ /^## /) {
      cell[r, 1] = "**" substr(line, 4) "**"
      for (c = 2; c <= ncols; ++c) cell[r, c] = ""
    } else {
      n = split(line, f, "|")
      for (i = 1; i <= n; ++i) gsub(/^ +| +$/, "", f[i])
      ours = (f[3] in figure) ? figure[f[3]] : ""
      peer = (f[5] != "" && f[5] in figure) ? figure[f[5]] : ""
      ratio = (ours != "" && peer != "" && peer + 0 > 0) ? ours / peer : ""
      cell[r, 1] = f[1]
      cell[r, 2] = shown(ours, f[2])
      cell[r, 3] = (f[4] == "") ? "—" : f[4]
      cell[r, 4] = (f[5] == "") ? "—" : shown(peer, f[2])
      cell[r, 5] = (ratio == "") ? "—" : sprintf("%.2f×", ratio)
      cell[r, 6] = (f[7] == "") ? "—" : f[7]
      met = "—"
      if (f[6] ~ /^ratio<=/ && ratio != "") met = (ratio <= substr(f[6], 8) + 0) ? "yes" : "no"
      else if (f[6] == "ratio<1" && ratio != "") met = (ratio < 1) ? "yes" : "no"
      else if (f[6] ~ /^lt:/ && ours != "")
        met = (((f[2] == "us") ? ours * 1000 : ours) < substr(f[6], 4) + 0) ? "yes" : "no"
      else if (f[6] ~ /^le:/ && ours != "")
        met = (((f[2] == "us") ? ours * 1000 : ours) <= substr(f[6], 4) + 0) ? "yes" : "no"
      else if (f[6] ~ /^plus:/ && ours != "" && peer != "")
        met = (ours + 0 <= peer + substr(f[6], 6)) ? "yes" : "no"
      else if (f[6] != "") met = "not measured"
      cell[r, 7] = met
    }
    for (c = 1; c <= ncols; ++c) if (width(cell[r, c]) > w[c]) w[c] = width(cell[r, c])
  }
  out = "|"
  for (c = 1; c <= ncols; ++c) out = out " " pad(header[c], w[c], c) " |"
  print out
  out = "|"
  for (c = 1; c <= ncols; ++c) {
    dashes = ""
    for (i = 0; i < w[c] + 1; ++i) dashes = dashes "-"
    out = out dashes (c == 2 || c == 4 || c == 5 ? ":" : "-") "|"
  }
  print out
  for (r = 1; r <= nrows; ++r) {
    out = "|"
    for (c = 1; c <= ncols; ++c) out = out " " pad(cell[r, c], w[c], c) " |"
    print out
  }
}
