NAME
ROWS
 N obj
 L c
COLUMNS
 x obj 1 c 1
 y obj 1
RHS
 RHS c 4
BOUNDS
 UP BND x 1 
 BV BND y
SOS
 S1 SOS s1 5
 x
 y 3
ENDATA
