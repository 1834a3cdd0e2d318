<!-- é -->
<?php
// café color
echo "colors";
