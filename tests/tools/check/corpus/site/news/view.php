<?php echo 1; ?>
{dede:field.body/}
