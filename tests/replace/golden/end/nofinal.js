var color = "→";
<!-- é -->