NAME          SUPPLY
* Meet a demand of 48 units at least cost by making and buying them.
* Making costs 5 a unit and runs in one batch of 20 to 40 units or not at
* all (MAKE is semi-continuous). Suppliers A, B and C sell at 3, 4 and 6 a
* unit up to 15, 25 and 50 units, but only one of them may be used (a set of
* type 1). Bought units travel in trucks of 10 at 8 a truck (an integer
* column).
*
* Optimum: cost 226, making 33 units and buying 15 from A in 2 trucks.
ROWS
 N  COST
 G  DEMAND
 L  TRUCKS
COLUMNS
    MAKE      COST         5            DEMAND       1
    BUYA      COST         3            DEMAND       1
    BUYA      TRUCKS       1
    BUYB      COST         4            DEMAND       1
    BUYB      TRUCKS       1
    BUYC      COST         6            DEMAND       1
    BUYC      TRUCKS       1
    MARKER                 'MARKER'                 'INTORG'
    NTRUCK    COST         8            TRUCKS       -10
    MARKER                 'MARKER'                 'INTEND'
RHS
    RHS       DEMAND       48
BOUNDS
 LO BND       MAKE         20
 SC BND       MAKE         40
 UP BND       BUYA         15
 UP BND       BUYB         25
 UP BND       BUYC         50
 UP BND       NTRUCK       10
SOS
 S1 SOS       SUPPLIER
    BUYA      1
    BUYB      2
    BUYC      3
ENDATA
