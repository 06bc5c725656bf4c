NAME          T1
ROWS
 N  obj
 E  e1
 E  e2
 E  e3
 L  l1
 G  g1
 N  free2
COLUMNS
    x         obj       1.0        e1        1.0
    x         e2        1.0        e3        1.0
    x         l1        1.0        g1        1.0
    x         free2     1.0
    y         obj       2.0        e1        1.0
RHS
    RHS       e1        4          e2        4
    RHS       e3        4          l1        10
    RHS       g1        1          obj       2.5
RANGES
    RNG       e1        3          e2        -3
    RNG       e3        0          l1        -2
    RNG       g1        5
BOUNDS
 UP BND       x         -3
 MI BND       y
 UP BND       y         1e30
ENDATA
