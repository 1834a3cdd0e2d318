<?php
// café color
echo "colors";
