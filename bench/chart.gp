# Draws the speed table: nanoseconds per input point for every implementation,
# grouped by input, on a log scale. Called as
#   gnuplot -e "data='bench.dat'; out='bench.svg'" chart.gp
set terminal svg size 1100,520 dynamic font "sans,12" background "#ffffff"
set output out
set title "Convex hull: time per input point (median CPU time; lower is better)"
set ylabel "ns per point (log scale)"
set logscale y
set grid ytics mytics
set style data histogram
set style histogram clustered gap 2
set style fill solid 0.9 border -1
set boxwidth 0.9
set key outside right top vertical Left reverse noenhanced
set xtics nomirror noenhanced
set datafile missing "NaN"
# computeHull stands out in red, its portable path in a paler red, the floor in
# grey; the other libraries take distinct hues in their order.
header = system("head -1 '" . data . "'")
columns = words(header)
hues = "#1f77b4 #aec7e8 #17becf #2ca02c #98df8a #bcbd22 #9467bd #ff7f0e #8c564b #e377c2 #7b4173 #393b79"
colorOf(name, c) = name eq "computeHull" ? "#d62728" : name eq "computeHullOn/portable" ? "#ff9896" : \
    name eq "floor" ? "#7f7f7f" : word(hues, (c - 2) % words(hues) + 1)
plot for [c=2:columns] data using c:xtic(1) title columnheader(c) linecolor rgb colorOf(word(header, c), c)
