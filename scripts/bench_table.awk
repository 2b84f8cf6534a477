# Turns kaviro_bench's CSV output (with --benchmark_repetitions) into the
# tables of bench/README.md: the median CPU time of every benchmark with its
# spread (half the range of the repetitions, relative to the median), and our
# time divided by each reference's, whose spread combines the two.
#
#   awk -f scripts/bench_table.awk bench/array_formulas.txt results.csv

function median(key,    n, i, j, v, t) {
    n = count[key]
    for (i = 1; i <= n; ++i) v[i] = times[key, i]
    for (i = 2; i <= n; ++i)
        for (j = i; j > 1 && v[j - 1] > v[j]; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
}
function spread(key,    i, lo, hi) {
    lo = hi = times[key, 1]
    for (i = 2; i <= count[key]; ++i) {
        if (times[key, i] < lo) lo = times[key, i]
        if (times[key, i] > hi) hi = times[key, i]
    }
    return (hi - lo) / 2 / median(key)
}
function duration(ns) {
    if (ns >= 1e6) return sprintf("%.3g ms", ns / 1e6)
    if (ns >= 1e3) return sprintf("%.3g µs", ns / 1e3)
    return sprintf("%.3g ns", ns)
}
function timed(key) {
    if (!(key in count)) return "—"
    return sprintf("%s ±%.0f%%", duration(median(key)), 100 * spread(key))
}
function ratio(ours, reference,    s) {
    if (!(ours in count) || !(reference in count)) return "—"
    s = sqrt(spread(ours) ^ 2 + spread(reference) ^ 2)
    return sprintf("%.2f ±%.0f%%", median(ours) / median(reference), 100 * s)
}

# The formulas, one a line after comments and blank lines.
FNR == NR {
    if ($0 ~ /^#/ || $0 ~ /^[ \t]*$/) next
    split($0, parts, "\t")
    formula[++formulas] = parts[1]
    next
}

# Repetitions only: aggregates carry a suffix (_mean, _median, ...), failed
# benchmarks the error flag.
FNR > 1 {
    line = $0
    if (line !~ /^"/) next
    name = substr(line, 2, index(substr(line, 2), "\"") - 1)
    rest = substr(line, length(name) + 4)
    n = split(rest, field, ",")
    if (name ~ /_(mean|median|stddev|cv)$/ || field[8] == "true") next
    # field: iterations, real_time, cpu_time, time_unit, bytes, items, label, error_occurred, ...
    ns = field[3]
    if (field[4] == "us") ns *= 1e3
    else if (field[4] == "ms") ns *= 1e6
    else if (field[4] == "s") ns *= 1e9
    times[name, ++count[name]] = ns
}

END {
    print "| formula | Kaviro | muparser, b an array | muparser, b constant | 80-bit loop | ÷ muparser (b array) | ÷ muparser (b constant) | ÷ loop |"
    print "|---|---|---|---|---|---|---|---|"
    for (i = 1; i <= formulas; ++i) {
        k = "Array/Kaviro/" i; ma = "Array/MuParserArrayB/" i; mc = "Array/MuParserConstB/" i; h = "Array/Hand80bit/" i
        if (!(k in count)) continue
        printf "| %s | %s | %s | %s | %s | %s | %s | %s |\n", formula[i], timed(k), timed(ma), timed(mc), timed(h),
               ratio(k, ma), ratio(k, mc), ratio(k, h)
    }
    scalars = 0
    for (key in count)
        if (key ~ /^Kaviro(Eval|Alone)\//) scalar[++scalars] = key
    for (i = 2; i <= scalars; ++i)
        for (j = i; j > 1 && scalar[j - 1] > scalar[j]; --j) { t = scalar[j]; scalar[j] = scalar[j - 1]; scalar[j - 1] = t }
    if (scalars) {
        print ""
        print "| scalar formula | Kaviro | muparser `Eval` | ÷ muparser |"
        print "|---|---|---|---|"
    }
    for (i = 1; i <= scalars; ++i) {
        key = scalar[i]
        what = key; sub(/^Kaviro(Eval|Alone)\//, "", what)
        printf "| %s | %s | %s | %s |\n", what, timed(key), timed("MuParserEval/" what), ratio(key, "MuParserEval/" what)
    }
}
