<!-- é -->
var color = "→";