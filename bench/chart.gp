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
# computeHull stands out, the floor is grey, the peers follow in distinct hues.
colors = "#d62728 #7f7f7f #1f77b4 #aec7e8 #17becf #2ca02c #98df8a #bcbd22 #9467bd #ff7f0e #8c564b #e377c2"
do for [i=1:words(colors)] { set linetype i linecolor rgb word(colors, i) }
columns = system("head -1 '" . data . "' | wc -w") + 0
plot for [c=2:columns] data using c:xtic(1) title columnheader(c)
