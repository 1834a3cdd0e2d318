<?php
// café color
echo "colors";

<!-- é -->