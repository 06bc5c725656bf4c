NAME          PORTFOLIO
* Spread a budget over three assets with expected returns of 6, 10 and 14
* per cent so that the expected return is at least 10 per cent and the
* variance of the return is least. The variance is x'Cx for the covariance
* matrix C below; QUADOBJ holds Q = 2C, for the objective 1/2 x'Qx, one
* triangle of it.
*
*       C = | 0.04   0.006  0.002 |
*           | 0.006  0.09   0.009 |
*           | 0.002  0.009  0.16  |
*
* Optimum: variance 403/11200 = 0.0359821428571429 with
* x = (55/168, 58/168, 55/168) = (0.327381, 0.345238, 0.327381).
ROWS
 N  RISK
 E  BUDGET
 G  RETURN
COLUMNS
    X1        BUDGET       1            RETURN       0.06
    X2        BUDGET       1            RETURN       0.10
    X3        BUDGET       1            RETURN       0.14
RHS
    RHS       BUDGET       1            RETURN       0.10
QUADOBJ
    X1        X1           0.08
    X1        X2           0.012
    X1        X3           0.004
    X2        X2           0.18
    X2        X3           0.018
    X3        X3           0.32
ENDATA
