# Plots the inverse conversion's error against exact arithmetic.
# gnuplot -e "data='accuracy.dat'; out='accuracy.png'" accuracy.gp
set terminal pngcairo size 960,540 font ",11"
set output out
set title "vorn\\_get\\_temperature against the exact root, IEC set"
set xlabel "temperature (degC)"
set ylabel "|t - t*| (degC)"
set logscale y
set format y "10^{%L}"
set yrange [1e-17:1e-3]
set xrange [-200:850]
set grid
set key top right
plot data using 1:2 with points pt 7 ps 0.2 title "R0 = 100 ohms", \
     data using 1:3 with points pt 7 ps 0.2 title "R0 = 1000 ohms"
